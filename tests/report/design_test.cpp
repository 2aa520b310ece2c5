// The report design file and the report project.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>

#include "core/support/temp_dir.h"
#include "report/design.h"
#include "report/report_errors.h"
#include "report/report_job.h"
#include "report/report_project.h"
#include "support/report_test_support.h"

namespace qnvr::report {
namespace {

using qnvr::testing::TempDir;

std::string ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const EReportException& e) {
        return e.what();
    }
    return "(no error)";
}

// A design with a block used twice: variables fill parameter names and texts, and the
// block's position moves everything in it.
constexpr const char* kTwoSlots = R"({
  "format": "Quenvora W-2 report designs", "version": 1,
  "defaults": {"field": {"font": "Arial", "size": 9}},
  "blocks": {
    "Slot": [
      {"comment": "one form"},
      {"box": [0.5, 0.5, 2, 1]},
      {"text": "Copy {n}", "at": [0.6, 0.6]},
      {"text": "{note}", "at": [0.6, 0.7]},
      {"field": "Name{_s}", "at": [2.5, 1.2], "align": "right"},
      {"field": "{extra}", "at": [0.6, 1.3]}
    ]
  },
  "designs": {
    "Pair": {"items": [
      {"use": "Slot", "at": [0, 0], "vars": {"_s": "_1", "n": "1", "note": "", "extra": ""}},
      {"use": "Slot", "at": [0, 5.5], "vars": {"_s": "_2", "n": "2", "note": "last", "extra": "Void2"}}
    ]}
  }
})";

// The project over kTwoSlots, written into dir, with "Pair" selected.
void OpenTwoSlots(const TempDir& dir, ReportProject& project) {
    const auto file = dir.Path() / "designs.json";
    std::ofstream(file) << kTwoSlots;
    project.SetProjectFile(file);
    project.Open();
    project.SelectReport("Pair");
}

TEST(DesignFile, BlocksAreExpandedWithTheirVariablesAndOffsets) {
    const DesignFile file = DesignFile::Parse(kTwoSlots, "test");
    const ReportDesign* pair = file.Find("Pair");
    ASSERT_NE(pair, nullptr);
    // Two boxes, then three texts ("Copy 1", "Copy 2", "last"): empty texts are left
    // out, and boxes come before texts so that no box hides a caption.
    ASSERT_EQ(pair->artwork.size(), 5u);
    EXPECT_EQ(std::get<RectOp>(pair->artwork[1].shape).y, 6.0);
    EXPECT_EQ(std::get<TextOp>(pair->artwork[3].shape).text, "Copy 2");
    ASSERT_EQ(pair->fields.size(), 3u);
    EXPECT_EQ(pair->fields[0].param, "Name_1");
    EXPECT_EQ(pair->fields[1].param, "Name_2");
    EXPECT_EQ(pair->fields[2].param, "Void2");
    EXPECT_EQ(pair->fields[1].text, (TextOp{2.5, 6.7, "Arial", 9, TextAlign::Right, ""}));
}

TEST(DesignFile, FaultsAreReportedWithTheFileAndThePlace) {
    const std::pair<std::string, std::string> cases[] = {
        {"{", "is not well-formed JSON"},
        {R"({"format": "something else", "version": 1, "designs": {}})", "is not a report design file"},
        {R"({"format": "Quenvora W-2 report designs", "version": 9, "designs": {}})", "newer version"},
        {R"({"format": "Quenvora W-2 report designs", "version": 1, "designs": {"D": {"items": [{"use": "Nope"}]}}})",
         "designs.D.items[0]: no block named \"Nope\""},
        {R"({"format": "Quenvora W-2 report designs", "version": 1, "designs": {"D": {"items": [{"text": "{x}", "at": [1, 1]}]}}})",
         "unknown variable {x}"},
        {R"({"format": "Quenvora W-2 report designs", "version": 1, "designs": {"D": {"items": [{"box": [1, 1, 1]}]}}})",
         "designs.D.items[0].box: must be a list of 4 numbers"},
        {R"({"format": "Quenvora W-2 report designs", "version": 1, "designs": {"D": {"items": [{"field": "A", "at": [1, 1], "align": "middle"}]}}})",
         "must be \"left\", \"center\" or \"right\""},
        {R"({"format": "Quenvora W-2 report designs", "version": 1, "blocks": {"B": [{"use": "B"}]}, "designs": {"D": {"items": [{"use": "B"}]}}})",
         "nested too deeply"},
        {R"({"format": "Quenvora W-2 report designs", "version": 1, "designs": {"D": {"items": [{"circle": 1}]}}})", "unknown item"},
    };
    for (const auto& testCase : cases) {
        const std::string& json = testCase.first;  // a plain name: the lambda below captures it
        const std::string& expected = testCase.second;
        const std::string message = ErrorOf([&] { DesignFile::Parse(json, "/opt/qnvr/W2TXFR26.json"); });
        EXPECT_NE(message.find("The report design file \"/opt/qnvr/W2TXFR26.json\" is not valid"), std::string::npos) << message;
        EXPECT_NE(message.find(expected), std::string::npos) << message;
    }
}

TEST(DesignFile, TheShippedFileHoldsTheFourDesigns) {
    const DesignFile file = DesignFile::Load(testing::DesignFilePath());
    EXPECT_EQ(file.Names(), (std::vector<std::string>{"FormW2", "FormW2_CopyD1", "FormW2_SSA", "FormW3"}));
}

// The fixed texts of a design, by the quadrant of the sheet they print in (0 upper left,
// 1 upper right, 2 lower left, 3 lower right).
std::multimap<std::string, int> CaptionsByQuadrant(const ReportDesign& design) {
    std::multimap<std::string, int> captions;
    for (const DrawOp& op : design.artwork) {
        if (const auto* t = std::get_if<TextOp>(&op.shape)) captions.emplace(t->text, (t->x >= 4.25 ? 1 : 0) + (t->y >= 5.5 ? 2 : 0));
    }
    return captions;
}

std::vector<int> QuadrantsOf(const std::multimap<std::string, int>& captions, const std::string& text) {
    std::vector<int> quadrants;
    for (auto [it, end] = captions.equal_range(text); it != end; ++it) quadrants.push_back(it->second);
    std::sort(quadrants.begin(), quadrants.end());
    return quadrants;
}

TEST(DesignFile, EveryEmployeeCopyCarriesTheOmbNumberAndCopiesBAndCTheirIrsNotice) {
    const DesignFile file = DesignFile::Load(testing::DesignFilePath());
    const std::string omb = "OMB No. 1545-0029";
    const std::string notice = "This information is being furnished to the Internal Revenue Service.";
    const auto employee = CaptionsByQuadrant(*file.Find("FormW2"));
    EXPECT_EQ(QuadrantsOf(employee, omb), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(QuadrantsOf(employee, "Copy B—To Be Filed With Employee's FEDERAL Tax Return."), std::vector<int>{0});
    EXPECT_EQ(QuadrantsOf(employee, "Copy C—For EMPLOYEE'S RECORDS (See Notice to Employee on the back of Copy B.)"),
              std::vector<int>{1});
    EXPECT_EQ(QuadrantsOf(employee, notice), (std::vector<int>{0, 1}));
    EXPECT_EQ(QuadrantsOf(CaptionsByQuadrant(*file.Find("FormW2_CopyD1")), omb), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(QuadrantsOf(CaptionsByQuadrant(*file.Find("FormW2_SSA")), omb), (std::vector<int>{0, 2}));
    EXPECT_EQ(QuadrantsOf(CaptionsByQuadrant(*file.Find("FormW3")), omb), std::vector<int>{0});
}

TEST(ReportProject, AMissingFileOrDesignIsAClearErrorBeforeAnyOutput) {
    TempDir dir;
    ReportProject project;
    project.SetProjectFile(dir.Path() / "W2TXFR26.json");
    EXPECT_EQ(ErrorOf([&] { project.Open(); }),
              "The report design file \"" + dir.File("W2TXFR26.json") + "\" could not be opened: No such file or directory.");

    project.SetProjectFile(testing::DesignFilePath());
    project.Open();
    EXPECT_EQ(ErrorOf([&] { project.SelectReport("FormW2c"); }),
              "The report design file \"" + testing::DesignFilePath().string() + "\" holds no report named \"FormW2c\".");

    // A job whose drawing code meets that error delivers nothing.
    ReportJob job{ReportPorts{}};
    int previews = 0;
    job.OverridePreview = [&](ReportJob&, PreviewMode) { ++previews; };
    job.OnPrint = [&](ReportSurface&) {
        project.SelectReport("Missing");
        project.Execute();
    };
    project.SetEngine(&job);
    EXPECT_THROW(job.Execute(), EReportException);
    EXPECT_EQ(previews, 0);
    EXPECT_FALSE(job.HasSnapshot());
}

TEST(ReportProject, ParametersFillTheirFieldsAndUnsetOrEmptyOnesPrintNothing) {
    TempDir dir;
    ReportProject project;
    OpenTwoSlots(dir, project);
    EXPECT_EQ(project.ParameterNames(), (std::vector<std::string>{"Name_1", "Name_2", "Void2"}));

    ReportJob job{ReportPorts{}};
    job.OnPrint = [&](ReportSurface& s) {
        project.SetParam("Name_1", "ALICE");
        project.SetParam("Name_2", "");
        project.SetParam("NotInTheDesign", "ignored");
        project.Execute();
        s.SetFont("Outline", 30);
        s.GotoXY(0.5, 7.25);
        s.PrintCenter("******* VOID *******", 2.2);  // on top of the design, same page
        s.NewPage();
        project.ClearParams();
        project.SetParam("Void2", "X");
        project.Execute();
    };
    project.SetEngine(&job);
    ASSERT_TRUE(job.Generate());
    const PageSnapshot snapshot = job.OpenSnapshot();
    ASSERT_EQ(snapshot.PageCount(), 2);
    const std::vector<TextOp> page1 = testing::Texts(snapshot.ReadPage(1));
    ASSERT_EQ(page1.size(), 5u);  // 3 captions, ALICE, VOID
    EXPECT_EQ(page1[3].text, "ALICE");
    EXPECT_EQ(page1[4].text, "******* VOID *******");
    const std::vector<TextOp> page2 = testing::Texts(snapshot.ReadPage(2));
    ASSERT_EQ(page2.size(), 4u);
    EXPECT_EQ(page2[3].text, "X");
    EXPECT_DOUBLE_EQ(page2[3].y, 6.8);

    project.SetEngine(nullptr);
    EXPECT_THROW(project.Execute(), EReportException);  // no running job
}

// Preprinted forms: the paper carries the boxes and captions, so only the values print,
// each moved by the alignment offset; without the mode the page is as designed.
TEST(ReportProject, PreprintedFormsPrintOnlyTheValuesMovedByTheOffset) {
    TempDir dir;
    ReportProject project;
    OpenTwoSlots(dir, project);
    project.SetParam("Name_1", "ALICE");
    project.SetParam("Void2", "X");
    EXPECT_FALSE(project.Preprinted().on);

    auto record = [&] {
        return testing::Record([&](ReportSurface& s) { project.ExecuteOn(s); }).ReadPage(1);
    };
    const Page designed = record();
    EXPECT_EQ(Flattened(designed).ops.size(), 7u);  // 2 boxes, 3 captions, 2 values
    ASSERT_NE(designed.artwork, nullptr);
    EXPECT_EQ(designed.artwork->ops.size(), 5u);  // shared: the design's artwork, drawn first
    EXPECT_EQ(designed.ops.size(), 2u);

    struct Case {
        PreprintedForms mode;
        double dx, dy;
    } cases[] = {{{true, 0, 0}, 0, 0}, {{true, 0.25, -0.5}, 0.25, -0.5}, {{true, -0.5, 0.5}, -0.5, 0.5}};
    for (const Case& c : cases) {
        project.SetPreprinted(c.mode);
        const Page page = record();
        ASSERT_EQ(page.ops.size(), 2u) << c.dx << "," << c.dy;
        EXPECT_EQ(page.artwork, nullptr);
        const std::vector<TextOp> texts = testing::Texts(page);
        ASSERT_EQ(texts.size(), 2u);
        EXPECT_EQ(texts[0], (TextOp{2.5 + c.dx, 1.2 + c.dy, "Arial", 9, TextAlign::Right, "ALICE"}));
        EXPECT_EQ(texts[1], (TextOp{0.6 + c.dx, 6.8 + c.dy, "Arial", 9, TextAlign::Left, "X"}));
    }

    // The mode outlives Close and Open; switched off, the page is exactly as designed.
    project.Close();
    project.Open();
    project.SelectReport("Pair");
    EXPECT_TRUE(project.Preprinted().on);
    project.SetPreprinted({});
    EXPECT_EQ(record(), designed);
}

}  // namespace
}  // namespace qnvr::report
