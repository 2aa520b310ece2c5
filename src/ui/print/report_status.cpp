#include "ui/print/report_status.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qnvr {
namespace {
// Handling events costs far more than recording a page; often enough for the text to
// move and Cancel to answer at once.
constexpr auto kEventInterval = std::chrono::milliseconds(50);
}  // namespace

TFrmReportStatus::TFrmReportStatus(const QString& caption, QWidget* parent) : QDialog(parent) {
    setObjectName("TFrmReportStatus");
    setWindowTitle(caption);
    setWindowModality(Qt::ApplicationModal);
    StatusText = new QLabel(this);
    StatusText->setObjectName("StatusText");
    StatusText->setMinimumWidth(260);
    StatusText->setAlignment(Qt::AlignCenter);
    BtnCancel = new QPushButton(tr("Cancel"), this);
    BtnCancel->setObjectName("BtnCancel");
    BtnCancel->setAccessibleName(tr("Cancel"));
    connect(BtnCancel, &QPushButton::clicked, this, [this] { cancelled_ = true; });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnCancel);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(StatusText);
    layout->addLayout(buttons);
}

bool TFrmReportStatus::Update(const QString& text) {
    StatusText->setText(text);
    const auto now = std::chrono::steady_clock::now();
    if (now - lastEvents_ >= kEventInterval) {
        lastEvents_ = now;
        HandleEvents();
    }
    return !cancelled_;
}

void TFrmReportStatus::HandleEvents() { QApplication::processEvents(QEventLoop::AllEvents); }

void TFrmReportStatus::reject() { cancelled_ = true; }

}  // namespace qnvr
