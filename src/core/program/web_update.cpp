#include "core/program/web_update.h"

#include <openssl/evp.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <memory>
#include <system_error>

#include "core/base/errors.h"
#include "core/base/prompter.h"
#include "core/base/settings_store.h"
#include "core/text/files.h"
#include "core/text/text.h"

namespace qnvr {
namespace {

constexpr const char* kContactError = "Unable to contact server.";
constexpr const char* kDownloadError = "Unable to download update.";
constexpr const char* kUnverified = "The update information from the server could not be verified.";

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    return lower;
}

bool IsLoopbackHost(std::string_view host) {
    return host == "127.0.0.1" || host == "localhost" || host == "[::1]";
}

}  // namespace

const Ed25519PublicKey& MakerUpdateKey() {
    static const Ed25519PublicKey key = {0x46, 0x99, 0x50, 0xda, 0x99, 0x72, 0x4d, 0x45, 0x88, 0x24, 0x64,
                                         0xc3, 0x95, 0xf1, 0x65, 0x91, 0x7a, 0x56, 0xa8, 0x45, 0x54, 0x05,
                                         0x76, 0xa5, 0x17, 0x8c, 0x49, 0x67, 0x28, 0x40, 0xe8, 0x2b};
    return key;
}

void CheckUpdateServer(std::string_view address) {
    const std::string lower = Lower(address);
    if (lower.starts_with("https://") && lower.size() > 8) return;
    if (lower.starts_with("http://")) {
        std::string_view rest = std::string_view(lower).substr(7);
        const std::string_view host = rest.substr(0, rest.find_first_of("/"));
        const auto colon = host.starts_with("[") ? host.find("]:") + 1 : host.rfind(':');
        if (IsLoopbackHost(colon == std::string_view::npos || colon == 0 ? host : host.substr(0, colon))) return;
    }
    throw EDownloadException("The update server address must begin with https://: " + std::string(address));
}

std::string UpdateServer(SettingsStore& settings) {
    std::string server = Trim(settings.ReadString(kUpdateSettingsKey, "Server").value_or(""));
    if (server.empty()) server = kDefaultUpdateServer;
    while (server.ends_with("/")) server.pop_back();
    CheckUpdateServer(server);
    return server;
}

std::string Sha256Hex(std::string_view data) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_Digest(data.data(), data.size(), digest, &length, EVP_sha256(), nullptr) != 1)
        throw EDownloadException(kDownloadError);
    std::string hex;
    char pair[3];
    for (unsigned int i = 0; i < length; ++i) {
        std::snprintf(pair, sizeof pair, "%02x", digest[i]);
        hex += pair;
    }
    return hex;
}

bool VerifyEd25519(std::string_view message, std::string_view signature, const Ed25519PublicKey& key) {
    if (signature.size() != 64) return false;
    std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> pkey(
        EVP_PKEY_new_raw_public_key(EVP_PKEY_ED25519, nullptr, key.data(), key.size()), EVP_PKEY_free);
    std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(), EVP_MD_CTX_free);
    if (!pkey || !context || EVP_DigestVerifyInit(context.get(), nullptr, nullptr, nullptr, pkey.get()) != 1)
        return false;
    return EVP_DigestVerify(context.get(), reinterpret_cast<const unsigned char*>(signature.data()), signature.size(),
                            reinterpret_cast<const unsigned char*>(message.data()), message.size()) == 1;
}

UpdateInfo ParseUpdateInfo(std::string_view ini) {
    UpdateInfo info;
    bool inSection = false;
    std::size_t at = 0;
    while (at <= ini.size()) {
        const std::size_t end = std::min(ini.find('\n', at), ini.size());
        const std::string line = Trim(ini.substr(at, end - at));
        at = end + 1;
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line.front() == '[') {
            inSection = Lower(line) == "[qnvr2026]";
            continue;
        }
        const auto eq = line.find('=');
        if (!inSection || eq == std::string::npos) continue;
        const std::string key = Lower(Trim(line.substr(0, eq)));
        const std::string value = Trim(line.substr(eq + 1));
        if (key == "version") {
            double version = 0;
            const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), version);
            info.version = error == std::errc() && end == value.data() + value.size() ? version : 2026.0;
        } else if (key == "sha256") {
            info.sha256 = Lower(value);
        }
    }
    return info;
}

UpdateInfo UpdateAvailable(UpdateDownloader& downloader, const std::string& server, const std::string& folder,
                           const Ed25519PublicKey& key) {
    CheckUpdateServer(server);
    std::string text, signature;
    try {
        text = downloader.Fetch(server + "/public/update.txt");
        signature = downloader.Fetch(server + "/public/update.txt.sig");
    } catch (const std::exception&) {
        throw EDownloadException(kContactError);
    }
    if (!VerifyEd25519(text, signature, key)) throw EDownloadException(kUnverified);
    try {
        ReplaceFileWhole(IncludeTrailingSlash(folder) + kUpdateInfoFile, text);
    } catch (const std::system_error& e) {
        throw EDownloadException(IncludeTrailingSlash(folder) + kUpdateInfoFile + ": " + e.code().message());
    }
    return ParseUpdateInfo(text);
}

void DownloadUpdate(UpdateDownloader& downloader, const std::string& server, const std::string& folder,
                    const std::string& expectedSha256) {
    CheckUpdateServer(server);
    std::string package;
    try {
        package = downloader.Fetch(server + "/public/" + kUpdateInstallerFile);
    } catch (const std::exception&) {
        throw EDownloadException(kDownloadError);
    }
    if (expectedSha256.size() != 64 || Sha256Hex(package) != Lower(expectedSha256)) throw EDownloadException(kDownloadError);
    try {
        ReplaceFileWhole(IncludeTrailingSlash(folder) + kUpdateInstallerFile, package);
    } catch (const std::system_error&) {
        throw EDownloadException(kDownloadError);
    }
}

WebUpdateResult RunWebUpdate(const CorePorts& user, WebUpdatePorts& ports, const std::string& server, const std::string& folder,
                             const Ed25519PublicKey& key) {
    if (!ports.internetConnected() &&
        ShowMsg(user.prompter, "An internet connection was not detected. Proceed anyway?", MsgStyle::OkCancel) != MsgButton::Ok)
        return WebUpdateResult::NothingDone;
    UpdateInfo info;
    {
        BusyNotice notice(user.busy, user.busyNote, kAppTitle, "Contacting Server... Please Wait");
        info = UpdateAvailable(ports.downloader, server, folder, key);
    }
    if (!info.Newer()) {
        ShowMsg(user.prompter, "Your current version is up-to-date.", MsgStyle::Information);
        return WebUpdateResult::NothingDone;
    }
    if (ShowMsg(user.prompter, "There is an update available.~Would you like to download and install it?", MsgStyle::OkCancel) != MsgButton::Ok)
        return WebUpdateResult::NothingDone;
    {
        BusyNotice notice(user.busy, user.busyNote, kAppTitle, "Downloading Update... Please Wait");
        DownloadUpdate(ports.downloader, server, folder, info.sha256);
    }
    ShowMsg(user.prompter, "The program must shut down in order to install the update.", MsgStyle::Plain);
    const std::string package = IncludeTrailingSlash(folder) + kUpdateInstallerFile;
    if (!ports.startInstaller(package)) {
        ShowMsg(user.prompter, "No program is set up to install~" + package, MsgStyle::Error);
        return WebUpdateResult::NothingDone;
    }
    return WebUpdateResult::Installing;
}

}  // namespace qnvr
