// Every parameter of every design prints inside the box it names. Each parameter gets
// a recognisable value as wide as the program ever prints there; the page goes
// through the real PDF renderer, and poppler's pdftotext tells where each value landed.
// The boxes come from data/form_boxes.json: the tax year 2026 Form W-2 Copy A and
// Form W-3, and the four-up employee copies by quadrant.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdio>
#include <fstream>

#include "core/support/temp_dir.h"
#include "report/fonts.h"
#include "report/pdf_renderer.h"
#include "report/report_job.h"
#include "report/report_project.h"
#include "support/report_test_support.h"

namespace qnvr::report {
namespace {

using nlohmann::json;
using testing::PdfWord;

struct Rect {
    double x, y, w, h;
    bool Holds(const PdfWord& word) const {
        constexpr double kSlack = 0.005;  // pdftotext rounds to hundredths of a point
        return word.xMin >= x - kSlack && word.xMax <= x + w + kSlack && word.yMin >= y - kSlack &&
               word.yMax <= y + h + kSlack;
    }
};

std::ostream& operator<<(std::ostream& out, const Rect& r) {
    return out << "[" << r.x << ", " << r.y << ", " << r.w << " x " << r.h << "]";
}

json Fixture() {
    std::ifstream in(std::string(QNVR_REPORT_TEST_DATA) + "/form_boxes.json");
    return json::parse(in);
}

std::string Printf(const char* format, long a, long b) {
    char text[64];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

std::string Repeat(std::string_view letters, std::size_t n) {
    std::string out;
    while (out.size() < n) out += letters[out.size() % letters.size()];
    return out;
}

// "123456789.01" or "123,456,789.01": dollars of the given number of digits.
std::string Money(int digits, int id, bool thousands) {
    std::string dollars = std::to_string(id);
    dollars = Repeat("987654321", digits - dollars.size()) + dollars;
    if (thousands) {
        for (int pos = static_cast<int>(dollars.size()) - 3; pos > 0; pos -= 3) dollars.insert(pos, ",");
    }
    return dollars + Printf(".%02ld", id % 100, 0);
}

// A value of the parameter's kind, at the widest the program prints, unique by id
// (except check marks, which are all "X").
std::string ValueOf(const std::string& kind, int id, bool thousands) {
    const std::size_t colon = kind.find(':');
    const std::string name = kind.substr(0, colon);
    const int width = colon == std::string::npos ? 0 : std::stoi(kind.substr(colon + 1));
    const std::string tag = "T" + std::to_string(id);
    if (name == "x") return "X";
    if (name == "ssn") return Printf("%03ld-45-%04ld", 100 + id % 900, id);
    if (name == "ein") return Printf("%02ld-%07ld", 10 + id % 90, id);
    if (name == "phone") return Printf("%03ld-555-%04ld", 200 + id % 800, id);
    if (name == "date") return "12/31/2026";
    if (name == "count") return std::to_string(10000 + id);
    if (name == "money") return Money(width, id, thousands);
    if (name == "code" && width == 2) return std::string{char('A' + id / 26 % 26), char('A' + id % 26)};
    if (name == "code") return Printf("%03ld", id % 1000, 0);
    if (name == "email") return tag + Repeat("abcdefghijklmnopqrstuvwxyz", width - tag.size() - 12) + "@example.com";
    return tag + Repeat("ABCDEFGHIJKLMNOPQRSTUVWXYZ", width - tag.size());  // text
}

// "Box1{_s}" for slot "2" is "Box1_2"; for the one-employee design ("") "Box1".
std::string Expand(std::string pattern, const std::string& slot) {
    for (const auto& [var, value] : {std::pair<std::string, std::string>{"{_s}", slot.empty() ? "" : "_" + slot}, {"{s}", slot}}) {
        for (std::size_t pos; (pos = pattern.find(var)) != std::string::npos;) pattern.replace(pos, var.size(), value);
    }
    return pattern;
}

struct Expectation {
    std::string param;
    std::string value;
    std::vector<Rect> boxes;  // one per copy of the form the value must appear in
};

// A design filled with the widest value of every parameter the form names.
struct FilledDesign {
    std::string name;
    std::vector<Expectation> expected;
    ReportProject project;
};

void Fill(FilledDesign& filled) {
    const json fixture = Fixture().at(filled.name);
    const bool thousands = fixture.value("thousands", false);
    std::vector<std::array<double, 2>> copies{{0, 0}};
    if (fixture.contains("copies")) copies = fixture.at("copies").get<std::vector<std::array<double, 2>>>();

    auto boxAt = [&](const std::string& id, double dx, double dy) {
        const auto r = fixture.at("boxes").at(id).get<std::array<double, 4>>();
        return Rect{r[0] + dx, r[1] + dy, r[2], r[3]};
    };
    int id = 1;
    auto expect = [&](const std::string& param, const json& spec, double dx, double dy) {
        Expectation e{param, ValueOf(spec.at("kind"), id++, thousands), {}};
        for (const auto& [cx, cy] : copies) e.boxes.push_back(boxAt(spec.at("box"), dx + cx, dy + cy));
        filled.expected.push_back(e);
    };
    for (const auto& [slot, offset] : fixture.at("slots").items()) {
        for (const auto& [pattern, spec] : fixture.at("params").items()) expect(Expand(pattern, slot), spec, offset[0], offset[1]);
    }
    if (fixture.contains("pageParams")) {
        for (const auto& [param, spec] : fixture.at("pageParams").items()) {
            Expectation e{param, ValueOf(spec.at("kind"), id++, thousands), {}};
            for (const auto& [slot, offset] : fixture.at("slots").items()) e.boxes.push_back(boxAt(spec.at("box"), offset[0], offset[1]));
            filled.expected.push_back(e);
        }
    }

    filled.project.SetProjectFile(testing::DesignFilePath());
    filled.project.Open();
    filled.project.SelectReport(filled.name);
    for (const Expectation& e : filled.expected) filled.project.SetParam(e.param, e.value);
}

PageSnapshot Render(ReportProject& project) {
    ReportJob job{ReportPorts{}};
    job.OnPrint = [&](ReportSurface&) { project.Execute(); };
    project.SetEngine(&job);
    EXPECT_TRUE(job.Generate());
    project.SetEngine(nullptr);
    return job.OpenSnapshot();
}

std::vector<PdfWord> PdfWordsOf(const PageSnapshot& snapshot) {
    qnvr::testing::TempDir dir;
    const auto pdf = dir.Path() / "page.pdf";
    RenderPdf(snapshot, pdf);
    return testing::PdfWords(pdf);
}

// Each value lies inside its box (moved by dx, dy) on every copy of the form, and no
// check mark prints anywhere else.
void ExpectValuesInTheirBoxes(const FilledDesign& filled, const std::vector<PdfWord>& words, double dx, double dy) {
    std::size_t checkMarks = 0;
    for (const Expectation& e : filled.expected) {
        if (e.value == "X") checkMarks += e.boxes.size();
        for (Rect box : e.boxes) {
            box.x += dx;
            box.y += dy;
            const bool inside = std::any_of(words.begin(), words.end(), [&](const PdfWord& w) { return w.text == e.value && box.Holds(w); });
            if (inside) continue;
            std::ostringstream where;
            for (const PdfWord& w : words) {
                if (w.text == e.value) where << " [" << w.xMin << ", " << w.yMin << " to " << w.xMax << ", " << w.yMax << "]";
            }
            ADD_FAILURE() << filled.name << ": " << e.param << " = \"" << e.value << "\" is not inside its box " << box
                          << "; printed at" << (where.str().empty() ? " nowhere" : where.str());
        }
    }
    const auto marks = std::count_if(words.begin(), words.end(), [](const PdfWord& w) { return w.text == "X"; });
    EXPECT_EQ(static_cast<std::size_t>(marks), checkMarks) << "a check mark printed twice or outside a box";
}

class DesignPlacement : public ::testing::TestWithParam<std::string> {};

TEST_P(DesignPlacement, EveryParameterPrintsInsideItsBox) {
    FilledDesign filled{GetParam(), {}, {}};
    Fill(filled);
    const std::string& designName = filled.name;
    const std::vector<Expectation>& expected = filled.expected;
    std::set<std::string> designParams;
    for (const std::string& p : filled.project.ParameterNames()) designParams.insert(p);
    for (const Expectation& e : expected) EXPECT_TRUE(designParams.count(e.param)) << designName << " prints no parameter " << e.param;
    EXPECT_EQ(designParams.size(), expected.size()) << designName << " prints parameters the form does not name";

    ExpectValuesInTheirBoxes(filled, PdfWordsOf(Render(filled.project)), 0, 0);
}

// Onto the preprinted official forms only the values print, each where the form's box
// is, moved by the alignment offset; none of the artwork does.
TEST_P(DesignPlacement, OnPreprintedFormsOnlyTheValuesPrintMovedByTheOffset) {
    FilledDesign filled{GetParam(), {}, {}};
    Fill(filled);
    filled.project.SetPreprinted({true, 0.1, -0.05});
    const PageSnapshot snapshot = Render(filled.project);

    std::size_t values = 0;
    std::set<std::string> texts;
    for (const Expectation& e : filled.expected) values += e.boxes.size(), texts.insert(e.value);
    const Page page = snapshot.ReadPage(1);
    EXPECT_EQ(page.artwork, nullptr) << filled.name;
    EXPECT_EQ(page.ops.size(), values) << filled.name;
    for (const DrawOp& op : page.ops) {
        const auto* text = std::get_if<TextOp>(&op.shape);
        ASSERT_NE(text, nullptr) << filled.name << " draws artwork onto a preprinted form";
        EXPECT_TRUE(texts.count(text->text)) << filled.name << " prints the caption \"" << text->text << "\"";
    }
    ExpectValuesInTheirBoxes(filled, PdfWordsOf(snapshot), 0.1, -0.05);
}

// The ink of a text: its advance width from the font metrics, from the capitals' height
// above the baseline down to the descenders when it has any.
struct Ink {
    std::string text;
    Rect r;
};

Ink InkOf(const TextOp& t) {
    const double width = TextWidthIn(t.family, t.sizePt, t.text);
    const double left = t.align == TextAlign::Left ? t.x : t.align == TextAlign::Center ? t.x - width / 2 : t.x - width;
    const bool descends = t.text.find_first_of("gjpqy,;()[]{}|@$_Q") != std::string::npos;
    const double top = t.y - AscentIn(t.family, t.sizePt);
    const double bottom = t.y + (descends ? DescentIn(t.family, t.sizePt) : 0.02 * t.sizePt / kPointsPerInch);
    return {t.text, Rect{left, top, width, bottom - top}};
}

// A rule as the area its stroke covers.
Rect Stroke(double x1, double y1, double x2, double y2, double widthPt) {
    const double half = widthPt / kPointsPerInch / 2;
    return Rect{std::min(x1, x2) - half, std::min(y1, y2) - half, std::fabs(x2 - x1) + 2 * half, std::fabs(y2 - y1) + 2 * half};
}

// A text keeps a little air to every rule, so that no letter touches it; texts stacked
// in lines may meet at an edge, but two texts on one line need about a space between
// them, or they read as one.
constexpr double kRuleGap = 0.008;
constexpr double kTouch = 0.002;
constexpr double kWordGap = 0.015;

bool Overlap(const Rect& a, const Rect& b, double gapX, double gapY) {
    return std::min(a.x + a.w, b.x + b.w) - std::max(a.x, b.x) > -gapX &&
           std::min(a.y + a.h, b.y + b.h) - std::max(a.y, b.y) > -gapY;
}

// With every value at its widest, no text (caption or value) runs into a rule, a box's
// outline or another text; the box rectangles of the form are checked by the test above.
TEST_P(DesignPlacement, NoTextCrossesARuleOrAnotherText) {
    FilledDesign filled{GetParam(), {}, {}};
    Fill(filled);
    const Page page = Flattened(Render(filled.project).ReadPage(1));

    std::vector<Ink> texts;
    std::vector<Rect> rules;
    for (const DrawOp& op : page.ops) {
        if (const auto* t = std::get_if<TextOp>(&op.shape)) {
            texts.push_back(InkOf(*t));
        } else if (const auto* l = std::get_if<LineOp>(&op.shape)) {
            rules.push_back(Stroke(l->x1, l->y1, l->x2, l->y2, l->widthPt));
        } else if (const auto* r = std::get_if<RectOp>(&op.shape); r && r->lineWidthPt > 0) {
            rules.push_back(Stroke(r->x, r->y, r->x + r->w, r->y, r->lineWidthPt));
            rules.push_back(Stroke(r->x, r->y + r->h, r->x + r->w, r->y + r->h, r->lineWidthPt));
            rules.push_back(Stroke(r->x, r->y, r->x, r->y + r->h, r->lineWidthPt));
            rules.push_back(Stroke(r->x + r->w, r->y, r->x + r->w, r->y + r->h, r->lineWidthPt));
        }
    }
    ASSERT_GT(texts.size(), filled.expected.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const Ink& a = texts[i];
        for (const Rect& rule : rules) {
            if (Overlap(a.r, rule, kRuleGap, kRuleGap)) ADD_FAILURE() << filled.name << ": \"" << a.text << "\" " << a.r << " crosses or touches the rule " << rule;
        }
        for (std::size_t j = i + 1; j < texts.size(); ++j) {
            if (Overlap(a.r, texts[j].r, kWordGap, -kTouch))
                ADD_FAILURE() << filled.name << ": \"" << a.text << "\" " << a.r << " runs into \"" << texts[j].text << "\" " << texts[j].r;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Forms2026, DesignPlacement,
                         ::testing::Values("FormW2_SSA", "FormW2_CopyD1", "FormW2", "FormW3"));

}  // namespace
}  // namespace qnvr::report
