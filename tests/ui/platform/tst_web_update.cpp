// Help, Web Update against an update server on this machine (127.0.0.1) that signs its
// update file with a test key: up to date, a newer version downloaded and verified, no
// section of this program, a server that cannot be reached, a bad signature, a wrong
// hash, a declined download and no network. Fetches go through the program's own
// QtNetwork downloader.
#include <openssl/evp.h>

#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>

#include "core/program/web_update.h"
#include "core/base/errors.h"
#include "core/base/scripted_prompter.h"
#include "platform/qt_update_downloader.h"
#include "support/qnvr_test_main.h"
#include "support/temp_dir.h"

using namespace qnvr;
namespace fs = std::filesystem;

namespace {

// The test key pair; the program's own key is never used here.
const unsigned char kTestPrivateKey[32] = {0x7e, 0xb2, 0xa6, 0x22, 0xa3, 0x32, 0xc8, 0xb4, 0x51, 0x0a, 0xc1,
                                           0x4b, 0x59, 0xdf, 0xdc, 0xf5, 0x3a, 0x5e, 0x03, 0x23, 0x63, 0xdb,
                                           0x83, 0xe3, 0xc2, 0x54, 0x35, 0x2c, 0x87, 0x2f, 0x5c, 0x6e};
const Ed25519PublicKey kTestPublicKey = {0x21, 0x71, 0x0e, 0xd0, 0xc4, 0x3c, 0x78, 0x4f, 0xd8, 0x3e, 0xd3,
                                         0xeb, 0x40, 0xf1, 0x53, 0x3e, 0x43, 0x10, 0x28, 0x77, 0x85, 0xc3,
                                         0xcc, 0xc2, 0x97, 0xa9, 0xf6, 0x76, 0x54, 0x5b, 0x51, 0x5f};

std::string Sign(const std::string& message, const unsigned char* privateKey) {
    EVP_PKEY* key = EVP_PKEY_new_raw_private_key(EVP_PKEY_ED25519, nullptr, privateKey, 32);
    EVP_MD_CTX* context = EVP_MD_CTX_new();
    unsigned char signature[64];
    std::size_t length = sizeof signature;
    EVP_DigestSignInit(context, nullptr, nullptr, nullptr, key);
    EVP_DigestSign(context, signature, &length, reinterpret_cast<const unsigned char*>(message.data()), message.size());
    EVP_MD_CTX_free(context);
    EVP_PKEY_free(key);
    return {reinterpret_cast<const char*>(signature), length};
}

// A web server on 127.0.0.1 that answers GET requests from a map of paths.
class LocalServer : public QObject {
public:
    LocalServer() {
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { Answer(socket); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
        server_.listen(QHostAddress::LocalHost);
    }
    std::string Address() const { return "http://127.0.0.1:" + std::to_string(server_.serverPort()); }
    std::map<std::string, std::string> files;
    std::vector<std::string> requested;

private:
    void Answer(QTcpSocket* socket) {
        QByteArray& request = pending_[socket];
        request += socket->readAll();
        if (!request.contains("\r\n\r\n")) return;
        const QList<QByteArray> words = request.left(request.indexOf("\r\n")).split(' ');
        const std::string path = words.size() > 1 ? words[1].toStdString() : "";
        requested.push_back(path);
        pending_.erase(socket);
        const auto file = files.find(path);
        QByteArray response;
        if (file == files.end()) {
            response = "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
        } else {
            response = "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\nConnection: close\r\nContent-Length: " +
                       QByteArray::number(static_cast<qsizetype>(file->second.size())) + "\r\n\r\n";
            response += QByteArray(file->second.data(), static_cast<qsizetype>(file->second.size()));
        }
        socket->write(response);
        socket->disconnectFromHost();
    }
    QTcpServer server_;
    std::map<QTcpSocket*, QByteArray> pending_;
};

}  // namespace

class TestWebUpdate : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<testing::TempDir> dir_;
    std::unique_ptr<ScriptedPrompter> prompter_;
    std::unique_ptr<CorePorts> ports_;  // the command's ports, with the scripted prompter
    std::unique_ptr<LocalServer> server_;
    std::vector<std::string> started_;
    bool connected_ = true;
    const std::string package_ = std::string("!<arch>\ndebian-binary   ") + std::string(3000, 'p');

    std::string Folder() const { return dir_->Path().string() + "/"; }
    void Publish(const std::string& ini, const unsigned char* signingKey = kTestPrivateKey) {
        server_->files["/public/update.txt"] = ini;
        server_->files["/public/update.txt.sig"] = Sign(ini, signingKey);
        server_->files["/public/QNVR_26.deb"] = package_;
    }
    WebUpdateResult Run(const std::string& server) {
        platform::QtUpdateDownloader downloader(5000);
        WebUpdatePorts ports{downloader, [this] { return connected_; },
                             [this](const std::string& path) {
                                 started_.push_back(path);
                                 return true;
                             }};
        return RunWebUpdate(*ports_, ports, server, Folder(), kTestPublicKey);
    }
    std::string RunFailing(const std::string& server) {
        try {
            Run(server);
        } catch (const EDownloadException& e) {
            return e.what();
        }
        return "no error";
    }
    std::vector<std::string> FilesLeft() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_->Path())) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private slots:
    void init() {
        dir_ = std::make_unique<testing::TempDir>();
        prompter_ = std::make_unique<ScriptedPrompter>();
        ports_ = std::make_unique<CorePorts>(CorePorts{.prompter = *prompter_});
        server_ = std::make_unique<LocalServer>();
        started_.clear();
        connected_ = true;
    }
    void cleanup() {
        server_.reset();
        prompter_.reset();
        dir_.reset();
    }

    void upToDateOrWithoutThisProgramsSection() {
        const char* files[] = {"[QNVR2026]\r\nVersion=2026.00\r\n", "[QNVR2025]\r\nVersion=2026.50\r\n"};
        for (const char* ini : files) {
            prompter_->Clear();
            Publish(ini);
            QVERIFY(Run(server_->Address()) == WebUpdateResult::NothingDone);
            QCOMPARE(prompter_->Texts(), std::vector<std::string>{"Your current version is up-to-date."});
            QCOMPARE(prompter_->Messages()[0].style, MsgStyle::Information);
            QCOMPARE(FilesLeft(), std::vector<std::string>{"update.ini"});
            QVERIFY(started_.empty());
        }
    }

    void aNewerVersionIsDownloadedVerifiedAndStarted() {
        Publish("[QNVR2026]\r\nVersion=2026.01\r\nSHA256=" + Sha256Hex(package_) + "\r\n");
        prompter_->Answer(MsgButton::Ok);
        QVERIFY(Run(server_->Address()) == WebUpdateResult::Installing);
        QCOMPARE(prompter_->Texts(),
                 (std::vector<std::string>{"There is an update available.~Would you like to download and install it?",
                                           "The program must shut down in order to install the update."}));
        QCOMPARE(FilesLeft(), (std::vector<std::string>{"QNVR_26.deb", "update.ini"}));
        QCOMPARE(testing::ReadBytes(Folder() + "QNVR_26.deb"), std::vector<unsigned char>(package_.begin(), package_.end()));
        QCOMPARE(started_, std::vector<std::string>{Folder() + "QNVR_26.deb"});
    }

    void aWrongHashKeepsNothingAndDoesNotClose() {
        Publish("[QNVR2026]\r\nVersion=2026.01\r\nSHA256=" + Sha256Hex("another package") + "\r\n");
        prompter_->Answer(MsgButton::Ok);
        QCOMPARE(RunFailing(server_->Address()), std::string("Unable to download update."));
        QCOMPARE(FilesLeft(), std::vector<std::string>{"update.ini"});
        QVERIFY(started_.empty());
        // Nor without a hash at all.
        Publish("[QNVR2026]\r\nVersion=2026.01\r\n");
        prompter_->Answer(MsgButton::Ok);
        QCOMPARE(RunFailing(server_->Address()), std::string("Unable to download update."));
        QCOMPARE(FilesLeft(), std::vector<std::string>{"update.ini"});
    }

    void aBadSignatureIsRefusedBeforeAnythingIsRead() {
        unsigned char otherKey[32];
        std::fill(std::begin(otherKey), std::end(otherKey), 0x11);
        Publish("[QNVR2026]\r\nVersion=2026.01\r\nSHA256=" + Sha256Hex(package_) + "\r\n", otherKey);
        QCOMPARE(RunFailing(server_->Address()), std::string("The update information from the server could not be verified."));
        QVERIFY(prompter_->Messages().empty());
        QVERIFY(FilesLeft().empty());
        QVERIFY(started_.empty());
        QCOMPARE(server_->requested, (std::vector<std::string>{"/public/update.txt", "/public/update.txt.sig"}));
    }

    void aServerThatCannotBeReached() {
        QTcpServer closed;
        closed.listen(QHostAddress::LocalHost);
        const std::string address = "http://127.0.0.1:" + std::to_string(closed.serverPort());
        closed.close();
        QCOMPARE(RunFailing(address), std::string("Unable to contact server."));
        // A server without the update file, too.
        QCOMPARE(RunFailing(server_->Address()), std::string("Unable to contact server."));
        QVERIFY(FilesLeft().empty());
    }

    void decliningTheDownloadLeavesNoPackage() {
        Publish("[QNVR2026]\r\nVersion=2026.01\r\nSHA256=" + Sha256Hex(package_) + "\r\n");
        prompter_->Answer(MsgButton::Cancel);
        QVERIFY(Run(server_->Address()) == WebUpdateResult::NothingDone);
        QCOMPARE(prompter_->Messages().size(), 1u);
        QCOMPARE(FilesLeft(), std::vector<std::string>{"update.ini"});
        QVERIFY(started_.empty());
        QCOMPARE(server_->requested.size(), 2u);  // the package was never fetched
    }

    void withoutANetworkTheUserDecides() {
        Publish("[QNVR2026]\r\nVersion=2026.00\r\n");
        connected_ = false;
        prompter_->Answer(MsgButton::Cancel);
        QVERIFY(Run(server_->Address()) == WebUpdateResult::NothingDone);
        QCOMPARE(prompter_->Texts(), std::vector<std::string>{"An internet connection was not detected. Proceed anyway?"});
        QVERIFY(server_->requested.empty());
        prompter_->Clear();
        prompter_->Answer(MsgButton::Ok);
        QVERIFY(Run(server_->Address()) == WebUpdateResult::NothingDone);
        QCOMPARE(prompter_->Texts().back(), std::string("Your current version is up-to-date."));
    }

    void anUnencryptedServerElsewhereIsRefused() {
        QCOMPARE(RunFailing("http://www.quenvora.com"),
                 std::string("The update server address must begin with https://: http://www.quenvora.com"));
    }
};

QNVR_TEST_MAIN(TestWebUpdate)
#include "tst_web_update.moc"
