#include "core/store/password.h"

#include <gtest/gtest.h>

#include <set>

namespace qnvr {
namespace {

TEST(Scramble, KeepsLengthUsesOnlyCipherCharactersAndUndoes) {
    const std::string plain = "abcXYZ019Qrs";
    const std::string stored = Scramble(plain);
    EXPECT_EQ(stored.size(), plain.size());
    EXPECT_NE(stored, plain);
    for (char c : stored) EXPECT_FALSE(IsPasswordChar(c) && Scramble(std::string(1, c)).empty()) << c;
    EXPECT_EQ(Unscramble(stored), plain);
    EXPECT_EQ(Scramble("ab-c d!"), Scramble("abcd"));  // characters outside the alphabet are dropped
}

TEST(Scramble, IsAOneToOneTableOverTheWholeAlphabet) {
    const std::string alphabet = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    const std::string stored = Scramble(alphabet);
    ASSERT_EQ(stored.size(), 62u);
    EXPECT_EQ(std::set<char>(stored.begin(), stored.end()).size(), 62u);
    for (char c : stored) EXPECT_TRUE(c > ' ' && c < 127) << c;
    EXPECT_EQ(Unscramble(stored), alphabet);
}

TEST(ChangePassword, AppliesTheRulesInOrder) {
    struct Case {
        std::string pw1, pw2;
        std::optional<std::string> message;
        std::string stored;  // plain text of what the record holds afterwards
    };
    const Case cases[] = {
        {"", "anything", std::nullopt, ""},  // a blank first field removes the password
        {"Secret1", "secret1", "The Password and Confirmation fields don't match", "Old12"},
        {"Abcd", "Abcd", "The Password cannot be less than 5 characters", "Old12"},
        {"Abcde", "Abcde", std::nullopt, "Abcde"},
        {"Abcdef123456", "Abcdef123456", std::nullopt, "Abcdef123456"},
    };
    for (const auto& c : cases) {
        W3Record record;
        record.Password = Scramble("Old12");
        EXPECT_EQ(ChangePassword(c.pw1, c.pw2, record), c.message) << c.pw1;
        EXPECT_EQ(Unscramble(record.Password), c.stored) << c.pw1;
    }
}

}  // namespace
}  // namespace qnvr
