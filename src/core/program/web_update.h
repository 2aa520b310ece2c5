#pragma once
// Help, Web Update: asks the maker's update server whether a newer version exists and
// downloads its installer. Nothing from the network is trusted unchecked:
//
// - the server address must be "https://"; plain "http://" is accepted only for the
//   loopback address (a server on this machine);
// - the update file "/public/update.txt" comes with a detached Ed25519 signature
//   ("/public/update.txt.sig", 64 bytes) that must verify against the maker's public key
//   built into the program; only then is it read or kept;
// - the update file names the installer's SHA-256; the installer is kept only when its
//   hash matches, and the program closes for the installation only after that.
//
// The core fetches through a port (UpdateDownloader) that the platform implements over
// QtNetwork; the checks are here.
#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "core/base/core_ports.h"

namespace qnvr {

class SettingsStore;

inline constexpr const char* kDefaultUpdateServer = "https://www.quenvora.com";
inline constexpr const char* kUpdateSettingsKey = "Update";  // value "Server": the update server's address
inline constexpr const char* kUpdateInfoFile = "update.ini";
inline constexpr const char* kUpdateInstallerFile = "QNVR_26.deb";  // the new version's Debian package

using Ed25519PublicKey = std::array<std::uint8_t, 32>;
// The maker's key: the update file must carry its signature.
const Ed25519PublicKey& MakerUpdateKey();

class UpdateDownloader {
public:
    virtual ~UpdateDownloader() = default;
    // The body of the file at url; throws (any exception) when it cannot be fetched.
    virtual std::string Fetch(const std::string& url) = 0;
};

// The update server from the settings (kDefaultUpdateServer when none is set), without a
// trailing "/". Throws EDownloadException when the address is neither "https://" nor
// "http://" to the loopback address.
std::string UpdateServer(SettingsStore& settings);
void CheckUpdateServer(std::string_view address);

// Helpers of the checks, public for the tests.
std::string Sha256Hex(std::string_view data);  // lower-case hex
bool VerifyEd25519(std::string_view message, std::string_view signature, const Ed25519PublicKey& key);
// The values of the update file: section "QNVR2026", keys "Version" and "SHA256".
struct UpdateInfo {
    double version = 2026.0;  // a missing or unreadable value counts as this version
    std::string sha256;       // the installer's hash, lower-case hex; empty when missing
    bool Newer() const { return 2026.0 < version; }
};
UpdateInfo ParseUpdateInfo(std::string_view ini);

// Downloads and checks the update file, keeps it as folder + "update.ini" and returns
// what it says. EDownloadException "Unable to contact server." when it cannot be fetched,
// "The update information from the server could not be verified." when its signature
// does not verify.
UpdateInfo UpdateAvailable(UpdateDownloader& downloader, const std::string& server, const std::string& folder,
                           const Ed25519PublicKey& key);

// Downloads the installer into folder + kUpdateInstallerFile when its SHA-256 is
// expectedSha256. EDownloadException "Unable to download update." otherwise, and nothing
// is left behind.
void DownloadUpdate(UpdateDownloader& downloader, const std::string& server, const std::string& folder,
                    const std::string& expectedSha256);

// The whole command, as the Help menu runs it; it asks and shows busy through user.
struct WebUpdatePorts {
    UpdateDownloader& downloader;
    std::function<bool()> internetConnected;
    std::function<bool(const std::string& path)> startInstaller;  // opens the downloaded package
};
enum class WebUpdateResult { NothingDone, Installing };  // Installing: the program closes now
WebUpdateResult RunWebUpdate(const CorePorts& user, WebUpdatePorts& ports, const std::string& server, const std::string& folder,
                             const Ed25519PublicKey& key);

}  // namespace qnvr
