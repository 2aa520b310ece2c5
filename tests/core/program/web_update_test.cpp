// The web update's checks that need no network: which server addresses are accepted,
// how the update file is read, the hash and the signature.
#include <gtest/gtest.h>

#include "core/program/web_update.h"
#include "core/base/errors.h"

namespace qnvr {
namespace {

TEST(WebUpdate, OnlyEncryptedOrLoopbackServersAreAccepted) {
    struct Case {
        const char* address;
        bool accepted;
    } cases[] = {
        {"https://www.quenvora.com", true},     {"HTTPS://updates.example.org/qnvr", true},
        {"http://127.0.0.1:8080", true},        {"http://localhost", true},
        {"http://[::1]:9000/x", true},          {"http://www.quenvora.com", false},
        {"http://127.0.0.1.evil.example", false}, {"http://localhost.evil.example:80", false},
        {"ftp://www.quenvora.com", false},      {"https://", false},
        {"www.quenvora.com", false},            {"", false},
    };
    for (const Case& c : cases) {
        if (c.accepted)
            EXPECT_NO_THROW(CheckUpdateServer(c.address)) << c.address;
        else
            EXPECT_THROW(CheckUpdateServer(c.address), EDownloadException) << c.address;
    }
}

TEST(WebUpdate, TheUpdateFileIsReadFromItsSection) {
    struct Case {
        const char* ini;
        double version;
        bool newer;
        const char* sha;
    } cases[] = {
        {"[QNVR2026]\r\nVersion=2026.01\r\nSHA256=ABCDEF\r\n", 2026.01, true, "abcdef"},
        {"[QNVR2026]\nVersion=2026.00\n", 2026.0, false, ""},
        {"[QNVR2025]\nVersion=2027\n", 2026.0, false, ""},  // no section of this program
        {"[qnvr2026]\n  version = 2027.5 \n", 2027.5, true, ""},
        {"[QNVR2026]\nVersion=soon\n", 2026.0, false, ""},
        {"[QNVR2026]\n[Other]\nVersion=2030\n", 2026.0, false, ""},
        {"", 2026.0, false, ""},
    };
    for (const Case& c : cases) {
        const UpdateInfo info = ParseUpdateInfo(c.ini);
        EXPECT_DOUBLE_EQ(info.version, c.version) << c.ini;
        EXPECT_EQ(info.Newer(), c.newer) << c.ini;
        EXPECT_EQ(info.sha256, c.sha) << c.ini;
    }
}

TEST(WebUpdate, HashAndSignature) {
    EXPECT_EQ(Sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_FALSE(VerifyEd25519("text", std::string(64, '\0'), MakerUpdateKey()));
    EXPECT_FALSE(VerifyEd25519("text", "short", MakerUpdateKey()));
}

}  // namespace
}  // namespace qnvr
