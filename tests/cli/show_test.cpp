// qnvr show: its listing byte for byte, and an output that cannot be written.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "cli/qnvr_fixture.h"
#include "core/store/password.h"
#include "efw2/efw2_fixture.h"

namespace qnvr {
namespace {

using testing::Employee;
using testing::Employer;
using testing::QnvrTest;
using testing::ReadText;
using testing::Result;

// A payer whose records exercise what the listing writes: texts with quotes, a backslash,
// a control character and Windows-1252 letters; fractions, large and negative amounts,
// an amount that is no number; the flags, the Box 12 pairs and the hidden password.
std::vector<W2Record> ListedEmployees() {
    W2Record first = Employee(1, 52345.67);
    first.Boxe1 = "Jos\xc3\xa9";
    first.Boxe2 = "Q";
    first.Boxe3 = "O'BRIEN \"JR\"";
    first.Boxf_a = "12 \\ ELM\tST";
    first.Boxf_csz = "TROY, NY 12180";
    first.Box12Code = {"D", "dd", "W"};
    first.Box12Amt = {1500.25, 0.1, 999999999.99};
    first.Box13b = true;
    first.Box14Desc_a = "UNION";
    first.Box14Amt_a = 12.5;
    first.Box20a = "ALBANY";
    first.Box19a = -3.75;
    W2Record second = Employee(2, 0.01);
    second.Boxf_b = "K\xc3\xb6ln \xe2\x82\xac";
    second.Amount7 = std::numeric_limits<double>::quiet_NaN();
    second.Amount11 = 1e15;
    second.Box13a = second.Box13c = true;
    W2Record third;  // a blank record
    return {first, second, third};
}

TEST_F(QnvrTest, ShowListsThePayerFileAsItsFixture) {
    W3Record w3 = Employer("ACME & SONS");
    w3.Boxc = 3;
    w3.Amount1 = 52345.68;
    w3.Box14 = 0.3;
    w3.Email = "pay@acme.example";
    w3.Password = Scramble("SECRET1");
    w3.FinalReturn = true;
    const std::string payer = Payer("ACME", w3, ListedEmployees());

    const Result r = Run({"show", payer}, {"QNVR_PASSWORD=SECRET1"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, ReadText(QNVR_CLI_TEST_DATA "show_acme.json"));
}

TEST_F(QnvrTest, ShowOfOneEmployeeClosesItsList) {
    const Result r = Run({"show", Payer("SOLO", 1)});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\n  \"w2\": [\n    {\n      \"Boxa\": \"123-45-1001\",\n"), std::string::npos) << r.out;
    EXPECT_TRUE(r.out.ends_with("\n    }\n  ]\n}\n")) << r.out;
}

// Standard output on a full disk: an error, never a listing that passes for complete.
TEST_F(QnvrTest, ShowReportsAnOutputThatCannotBeWritten) {
    const std::string payer = Payer("FULL", 3);
    const std::string errPath = dir.File("stderr");
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int out = ::open("/dev/full", O_WRONLY);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(out, 1);
        ::dup2(err, 2);
        ::setenv("QNVR_PROGRAM_DIR", programDir.c_str(), 1);
        ::execl(QNVR_EXECUTABLE, QNVR_EXECUTABLE, "show", payer.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_NE(ReadText(errPath).find("qnvr show: the standard output could not be written"), std::string::npos)
        << ReadText(errPath);
}

}  // namespace
}  // namespace qnvr
