#include "platform/qt_update_downloader.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkInformation>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

#include <memory>

#include "core/base/errors.h"

namespace qnvr::platform {

std::string QtUpdateDownloader::Fetch(const std::string& url) {
    QNetworkAccessManager network;
    QNetworkRequest request(QUrl(QString::fromStdString(url)));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setTransferTimeout(timeout_);
    std::unique_ptr<QNetworkReply> reply(network.get(request));
    QEventLoop wait;
    QObject::connect(reply.get(), &QNetworkReply::finished, &wait, &QEventLoop::quit);
    if (!reply->isFinished()) wait.exec(QEventLoop::ExcludeUserInputEvents);
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() != QNetworkReply::NoError) throw EDownloadException(url + ": " + reply->errorString().toStdString());
    if (status != 200) throw EDownloadException(url + ": HTTP status " + std::to_string(status));
    const QByteArray body = reply->readAll();
    return {body.constData(), static_cast<std::size_t>(body.size())};
}

bool InternetConnected() {
    if (!QNetworkInformation::instance() && !QNetworkInformation::loadDefaultBackend()) return true;
    return QNetworkInformation::instance()->reachability() != QNetworkInformation::Reachability::Disconnected;
}

}  // namespace qnvr::platform
