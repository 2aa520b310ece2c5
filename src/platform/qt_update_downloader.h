#pragma once
// The web update's network side over QtNetwork: fetching a file from the update server,
// and whether the machine has a working network connection.
#include "core/program/web_update.h"

namespace qnvr::platform {

class QtUpdateDownloader final : public UpdateDownloader {
public:
    explicit QtUpdateDownloader(int timeoutMilliseconds = 30000) : timeout_(timeoutMilliseconds) {}
    // Follows redirects only to equally safe addresses (never from https to http); a
    // status other than 200 or a stalled transfer is a failure (EDownloadException with
    // the reason).
    std::string Fetch(const std::string& url) override;

private:
    int timeout_;
};

// False only when the system reports that no network is reachable; true when it cannot tell.
bool InternetConnected();

}  // namespace qnvr::platform
