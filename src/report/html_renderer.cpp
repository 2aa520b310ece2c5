// HTML for viewing as a plain file: each page is a <section> holding an inline SVG in
// points, so text sits on the same baselines with the same alignment as in the PDF
// (text-anchor does the centring and right alignment with the browser's own metrics).
//
// A page's artwork is written once: before the first page that shows it, as an SVG
// <symbol> ("artwork-N") in a hidden SVG of its own; each page showing it draws it with
// a <use> before its own operations. A symbol without a viewBox keeps the user space of
// the page that uses it, so the artwork's coordinates are the page's.
#include "report/html_renderer.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>

#include "core/base/prompter.h"
#include "core/text/cp1252.h"
#include "report/internal/file_output.h"
#include "report/fonts.h"
#include "report/page_range.h"
#include "report/report_errors.h"

namespace qnvr::report {
namespace {

constexpr const char* kStyle = R"(body { background: #808080; margin: 0; padding: 16px; }
section.page { background: #fff; margin: 0 auto 16px; box-shadow: 2px 2px 6px rgba(0,0,0,.5); }
section.page svg { display: block; }
section.page svg { font-size: 10px; }
text { font-family: Helvetica, Arial, "Liberation Sans", sans-serif; white-space: pre; fill: #000; }
text.b { font-weight: bold; }
text.o { font-weight: bold; fill: none; stroke: #000; stroke-width: 0.6; }
text.c { text-anchor: middle; }
text.r { text-anchor: end; }
@media print {
  body { background: none; padding: 0; }
  section.page { box-shadow: none; margin: 0; break-after: page; }
}
)";

constexpr double kUsualTextSize = 10;  // points; the size a page's texts inherit from the style sheet

// Thrown out of the file writing when progress cancels; the file is left untouched.
struct Cancelled {};

std::string Num(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", v);
    std::string s = text;
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    return s == "-0" ? "0" : s;
}

std::string Pt(double inches) { return Num(inches * kPointsPerInch); }

// Printed from a browser, each page fills one sheet of its size, without the browser's
// margins (the forms have their own), so the printout has the pages of the PDF. The
// first page's size stands for all: a job's pages share one paper.
std::string PrintedSheet(const Page& first) {
    return "@page { size: " + Num(first.widthIn) + "in " + Num(first.heightIn) + "in; margin: 0; }\n";
}

// Text as the page carries it: markup characters escaped, and every byte that is not
// part of a well-formed UTF-8 character, and every control character but tab and line
// breaks, shown as the replacement character, so the page is the UTF-8 it declares.
std::string Escape(std::string_view text) {
    static constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = Utf8CharLength(text.substr(i));
        if (length == 0) {
            out += kReplacement;
            ++i;
            continue;
        }
        const char32_t code = Utf8CharAt(text.substr(i), length);
        switch (code) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\t':
            case '\n':
            case '\r': out += static_cast<char>(code); break;
            default:
                if (code < 0x20 || (code >= 0x7F && code < 0xA0)) out += kReplacement;
                else out.append(text.substr(i, length));
        }
        i += length;
    }
    return out;
}

std::string Gray(double gray) {
    const int level = static_cast<int>(gray * 255 + 0.5);
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", level, level, level);
    return text;
}

// Spaces a browser would fold unless told to keep them: at either end, or two in a row.
bool HasFoldableSpaces(std::string_view text) {
    return !text.empty() && (text.front() == ' ' || text.back() == ' ' || text.find("  ") != std::string_view::npos);
}

// Compact, since a page holds a hundred values: the usual size (10) and the alignment
// and face come from the style sheet's classes.
void Write(std::ostream& out, const TextOp& t) {
    const FontFace face = ResolveFont(t.family);
    std::string classes;
    if (face.outlined) classes = "o";
    else if (face.base == StandardFont::HelveticaBold) classes = "b";
    if (t.align != TextAlign::Left) classes += std::string(classes.empty() ? "" : " ") + (t.align == TextAlign::Center ? "c" : "r");
    out << "<text x=\"" << Pt(t.x) << "\" y=\"" << Pt(t.y) << '"';
    if (t.sizePt != kUsualTextSize) out << " font-size=\"" << Num(t.sizePt) << '"';
    if (!classes.empty()) out << " class=\"" << classes << '"';
    if (HasFoldableSpaces(t.text)) out << " xml:space=\"preserve\"";
    out << '>' << Escape(t.text) << "</text>\n";
}

void Write(std::ostream& out, const LineOp& l) {
    out << "<line x1=\"" << Pt(l.x1) << "\" y1=\"" << Pt(l.y1) << "\" x2=\"" << Pt(l.x2) << "\" y2=\"" << Pt(l.y2)
        << "\" stroke=\"#000\" stroke-width=\"" << Num(l.widthPt) << "\"/>\n";
}

void Write(std::ostream& out, const RectOp& r) {
    out << "<rect x=\"" << Pt(r.x) << "\" y=\"" << Pt(r.y) << "\" width=\"" << Pt(r.w) << "\" height=\"" << Pt(r.h) << '"';
    if (r.cornerW > 0 && r.cornerH > 0) out << " rx=\"" << Pt(r.cornerW / 2) << "\" ry=\"" << Pt(r.cornerH / 2) << '"';
    out << " fill=\"" << (r.fillGray >= 0 ? Gray(r.fillGray) : "none") << '"';
    if (r.lineWidthPt > 0) out << " stroke=\"#000\" stroke-width=\"" << Num(r.lineWidthPt) << '"';
    out << "/>\n";
}

void WriteOps(std::ostream& out, const std::vector<DrawOp>& ops, bool includeScreenOnly) {
    for (const DrawOp& op : ops) {
        if (op.screenOnly && !includeScreenOnly) continue;
        std::visit([&out](const auto& shape) { Write(out, shape); }, op.shape);
    }
}

// The symbols written so far, by artwork; each keeps its artwork alive so that its
// address stays its own.
class ArtworkSymbols {
public:
    explicit ArtworkSymbols(bool includeScreenOnly) : includeScreenOnly_(includeScreenOnly) {}

    // The artwork's symbol id, writing the symbol first when it is new.
    std::string IdOf(std::ostream& out, const std::shared_ptr<const Artwork>& artwork) {
        auto [it, isNew] = ids_.try_emplace(artwork.get());
        if (isNew) {
            it->second = {artwork, "artwork-" + std::to_string(ids_.size())};
            out << "<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"artwork\" width=\"0\" height=\"0\" "
                   "style=\"position:absolute\" aria-hidden=\"true\">\n<symbol id=\""
                << it->second.second << "\">\n";
            WriteOps(out, artwork->ops, includeScreenOnly_);
            out << "</symbol>\n</svg>\n";
        }
        return it->second.second;
    }

private:
    bool includeScreenOnly_;
    std::map<const Artwork*, std::pair<std::shared_ptr<const Artwork>, std::string>> ids_;
};

void WritePage(std::ostream& out, const Page& page, int pageNo, int pageCount, bool includeScreenOnly,
               ArtworkSymbols& symbols) {
    const std::string artworkId = page.artwork ? symbols.IdOf(out, page.artwork) : std::string();
    out << "<section class=\"page\" id=\"page-" << pageNo << "\" aria-label=\"Page " << pageNo << " of " << pageCount
        << "\" style=\"width:" << Num(page.widthIn) << "in;height:" << Num(page.heightIn) << "in\">\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << Num(page.widthIn) << "in\" height=\""
        << Num(page.heightIn) << "in\" viewBox=\"0 0 " << Pt(page.widthIn) << ' ' << Pt(page.heightIn) << "\">\n";
    if (!artworkId.empty()) out << "<use href=\"#" << artworkId << "\"/>\n";
    WriteOps(out, page.ops, includeScreenOnly);
    out << "</svg>\n</section>\n";
}

}  // namespace

bool RenderHtml(const PageSnapshot& snapshot, const std::filesystem::path& file, const HtmlOptions& options) {
    // Plain names rather than structured bindings: the lambda below captures them.
    const std::pair<int, int> pages = PagesOf(options.range, snapshot.PageCount());
    const int first = pages.first, last = pages.second;
    try {
        WriteFileReplacing(file, [&](const std::filesystem::path& temp) {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>" << Escape(kAppTitle)
            << "</title>\n<style>\n" << kStyle << PrintedSheet(snapshot.ReadPage(first)) << "</style>\n</head>\n<body>\n";
        ArtworkSymbols symbols(options.includeScreenOnly);
        for (int pageNo = first; pageNo <= last; ++pageNo) {
            if (options.progress && !options.progress(pageNo)) throw Cancelled{};
            WritePage(out, snapshot.ReadPage(pageNo), pageNo, snapshot.PageCount(), options.includeScreenOnly, symbols);
        }
        out << "</body>\n</html>\n";
        out.close();
        if (!out) throw EReportException(CannotWriteMessage(file, std::strerror(errno ? errno : EIO)));
    });
    } catch (const Cancelled&) {
        return false;
    }
    return true;
}

}  // namespace qnvr::report
