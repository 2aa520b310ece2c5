// PDF through libharu. Coordinates are turned from inches with y downward into PDF
// points with y upward; texts are converted to Windows-1252 for WinAnsiEncoding, and
// alignment uses the same metrics as the layout (fonts.h).
//
// A page's artwork is written once per document and page height, as a content stream
// of its own that every later page showing it lists among its contents (a shared
// content stream); each page then carries only its own operations. The artwork's
// stream saves and restores the graphics state around itself, so each page's own
// operations start from the PDF defaults, and every page names the two fonts in the
// same order (F1 Helvetica, F2 Helvetica-Bold), so the shared stream's font names
// mean the same on every page.
#include "report/pdf_renderer.h"

#include <hpdf.h>
#include <hpdf_pages.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <tuple>

#include "core/base/prompter.h"
#include "core/text/cp1252.h"
#include "report/internal/file_output.h"
#include "report/fonts.h"
#include "report/page_range.h"
#include "report/report_errors.h"

namespace qnvr::report {
namespace {

constexpr const char* kPdfAuthor = "Morvane";
constexpr double kOutlineWidthPt = 0.6;  // stroke of outlined ("Outline") text
constexpr double kKappa = 0.5523;        // control point distance of a quarter ellipse
constexpr std::size_t kSaveBlock = 1 << 16;
// Text is placed on a grid of 1/32 point: such positions, and the moves between them,
// are written exactly (the library writes reals with five decimals), so a text lands on
// the same spot whatever texts precede it in its text object.
constexpr double kTextGrid = 32;

// libharu reports errors through a C callback; we note the first and check after each step.
struct HaruError {
    HPDF_STATUS code = HPDF_OK;
    HPDF_STATUS detail = 0;
};

void OnHaruError(HPDF_STATUS code, HPDF_STATUS detail, void* data) {
    auto* error = static_cast<HaruError*>(data);
    if (error->code == HPDF_OK) *error = {code, detail};
}

class PdfDocument {
public:
    PdfDocument() : doc_(HPDF_New(OnHaruError, &error_)) {
        if (!doc_) throw EReportException("The PDF document could not be started: out of memory.");
        HPDF_SetCompressionMode(doc_, HPDF_COMP_ALL);
        SetInfo(HPDF_INFO_TITLE, kAppTitle);
        SetInfo(HPDF_INFO_AUTHOR, kPdfAuthor);
        SetInfo(HPDF_INFO_CREATOR, kPdfAuthor);
        SetInfo(HPDF_INFO_PRODUCER, kPdfAuthor);
        SetInfo(HPDF_INFO_SUBJECT, std::string(kAppTitle) + " Adobe Portable Document");
        fonts_[0] = HPDF_GetFont(doc_, PdfFontName(StandardFont::Helvetica), "WinAnsiEncoding");
        fonts_[1] = HPDF_GetFont(doc_, PdfFontName(StandardFont::HelveticaBold), "WinAnsiEncoding");
        Check();
    }
    ~PdfDocument() { HPDF_Free(doc_); }
    PdfDocument(const PdfDocument&) = delete;
    PdfDocument& operator=(const PdfDocument&) = delete;

    void AddPage(const Page& page, bool includeScreenOnly) {
        page_ = HPDF_AddPage(doc_);
        Check();
        heightPt_ = page.heightIn * kPointsPerInch;
        HPDF_Page_SetWidth(page_, static_cast<HPDF_REAL>(page.widthIn * kPointsPerInch));
        HPDF_Page_SetHeight(page_, static_cast<HPDF_REAL>(heightPt_));
        // Both fonts named in a fixed order in the page's resources, whatever the page uses.
        HPDF_Page_GetLocalFontName(page_, fonts_[0]);
        HPDF_Page_GetLocalFontName(page_, fonts_[1]);
        if (page.artwork) AddArtwork(page.artwork, includeScreenOnly);
        state_ = GraphicsState{};
        DrawOps(page.ops, includeScreenOnly);
        Check();
    }

    // The document is made in memory and written with every write checked: the PDF
    // library's own file writer does not check closing its file, so a full disk would
    // pass unseen.
    void Save(const std::filesystem::path& file) {
        if (HPDF_SaveToStream(doc_) != HPDF_OK) throw EReportException(CannotWriteMessage(file, ErrorText()));
        HPDF_ResetStream(doc_);
        // Copied in blocks: the document is not held twice in memory.
        WriteFileReplacing(file, [&](const std::filesystem::path& temp) {
            std::ofstream out(temp, std::ios::binary | std::ios::trunc);
            std::vector<HPDF_BYTE> block(kSaveBlock);
            std::uint64_t copied = 0;
            for (;;) {
                HPDF_UINT32 size = static_cast<HPDF_UINT32>(block.size());
                const HPDF_STATUS read = HPDF_ReadFromStream(doc_, block.data(), &size);
                if (read != HPDF_OK && read != HPDF_STREAM_EOF) throw EReportException(CannotWriteMessage(file, ErrorText()));
                out.write(reinterpret_cast<const char*>(block.data()), size);
                copied += size;
                if (read == HPDF_STREAM_EOF || size == 0) break;
            }
            out.close();
            if (!out) throw EReportException(CannotWriteMessage(file, std::strerror(errno ? errno : EIO)));
            if (copied != HPDF_GetStreamSize(doc_)) throw EReportException(CannotWriteMessage(file, ErrorText()));
        });
    }

private:
    void DrawOps(const std::vector<DrawOp>& ops, bool includeScreenOnly) {
        for (const DrawOp& op : ops) {
            if (op.screenOnly && !includeScreenOnly) continue;
            std::visit([this](const auto& shape) { Draw(shape); }, op.shape);
        }
        EndText();
    }

    // Puts the artwork under the current page: its shared stream when this document
    // already has it for this page height, else a new stream that later pages share.
    // Either way what follows is drawn into a new stream of the page's own.
    void AddArtwork(const std::shared_ptr<const Artwork>& artwork, bool includeScreenOnly) {
        SharedArtwork& shared = artworkStreams_[{artwork.get(), heightPt_, includeScreenOnly}];
        if (shared.stream) {
            HPDF_Page_Insert_Shared_Content_Stream(page_, shared.stream);
            Check();
            return;
        }
        HPDF_Page_New_Content_Stream(page_, &shared.stream);
        shared.artwork = artwork;
        Check();
        HPDF_Page_GSave(page_);
        state_ = GraphicsState{};
        DrawOps(artwork->ops, includeScreenOnly);
        HPDF_Page_GRestore(page_);
        HPDF_Page_New_Content_Stream(page_, nullptr);
        Check();
    }

    void SetInfo(HPDF_InfoType type, const std::string& value) { HPDF_SetInfoAttr(doc_, type, value.c_str()); }

    std::string ErrorText() const {
        char text[64];
        std::snprintf(text, sizeof text, "PDF library error 0x%04X (%u)", static_cast<unsigned>(error_.code),
                      static_cast<unsigned>(error_.detail));
        return text;
    }

    void Check() const {
        if (error_.code != HPDF_OK) throw EReportException("The PDF document could not be made: " + ErrorText() + ".");
    }

    HPDF_REAL X(double inches) const { return static_cast<HPDF_REAL>(inches * kPointsPerInch); }
    HPDF_REAL Y(double inches) const { return static_cast<HPDF_REAL>(heightPt_ - inches * kPointsPerInch); }
    static HPDF_REAL Pt(double points) { return static_cast<HPDF_REAL>(points); }

    // The page's graphics state as written so far; each operator is written only when
    // its value changes (a page of a form sets the same few values hundreds of times).
    struct GraphicsState {
        bool inText = false;
        double fillGray = 0, strokeGray = 0, lineWidth = 1;  // the PDF defaults
        HPDF_Font font = nullptr;
        double fontSize = 0;
        HPDF_TextRenderingMode renderMode = HPDF_FILL;
        double textX = 0, textY = 0;  // the start of the text line, in points
    };

    static double OnTextGrid(double points) { return std::round(points * kTextGrid) / kTextGrid; }

    void FillGray(double gray) {
        if (gray != state_.fillGray) HPDF_Page_SetGrayFill(page_, static_cast<HPDF_REAL>(gray)), state_.fillGray = gray;
    }
    void StrokeGray(double gray) {
        if (gray != state_.strokeGray) HPDF_Page_SetGrayStroke(page_, static_cast<HPDF_REAL>(gray)), state_.strokeGray = gray;
    }
    void LineWidth(double points) {
        if (points != state_.lineWidth) HPDF_Page_SetLineWidth(page_, Pt(points)), state_.lineWidth = points;
    }

    void BeginText() {
        if (state_.inText) return;
        HPDF_Page_BeginText(page_);
        state_.inText = true;
        state_.textX = state_.textY = 0;
    }
    void EndText() {
        if (!state_.inText) return;
        HPDF_Page_EndText(page_);
        state_.inText = false;
    }

    void Draw(const TextOp& t) {
        const std::string bytes = Utf8ToCp1252(t.text);
        if (bytes.empty()) return;
        const FontFace face = ResolveFont(t.family);
        HPDF_Font font = fonts_[face.base == StandardFont::HelveticaBold ? 1 : 0];
        FillGray(0);
        StrokeGray(0);
        if (face.outlined) LineWidth(kOutlineWidthPt);
        BeginText();
        if (font != state_.font || t.sizePt != state_.fontSize) {
            HPDF_Page_SetFontAndSize(page_, font, Pt(t.sizePt));
            state_.font = font;
            state_.fontSize = t.sizePt;
        }
        const HPDF_TextRenderingMode mode = face.outlined ? HPDF_STROKE : HPDF_FILL;
        if (mode != state_.renderMode) HPDF_Page_SetTextRenderingMode(page_, mode), state_.renderMode = mode;
        double left = t.x;
        const double width = TextWidthIn(t.family, t.sizePt, t.text);
        if (t.align == TextAlign::Center) left -= width / 2;
        if (t.align == TextAlign::Right) left -= width;
        const double x = OnTextGrid(left * kPointsPerInch), y = OnTextGrid(heightPt_ - t.y * kPointsPerInch);
        HPDF_Page_MoveTextPos(page_, static_cast<HPDF_REAL>(x - state_.textX), static_cast<HPDF_REAL>(y - state_.textY));
        state_.textX = x, state_.textY = y;
        HPDF_Page_ShowText(page_, bytes.c_str());
    }

    void Draw(const LineOp& l) {
        EndText();
        StrokeGray(0);
        LineWidth(l.widthPt);
        HPDF_Page_MoveTo(page_, X(l.x1), Y(l.y1));
        HPDF_Page_LineTo(page_, X(l.x2), Y(l.y2));
        HPDF_Page_Stroke(page_);
    }

    void Draw(const RectOp& r) {
        const bool fill = r.fillGray >= 0;
        const bool stroke = r.lineWidthPt > 0;
        if (!fill && !stroke) return;
        EndText();
        if (fill) FillGray(r.fillGray);
        if (stroke) {
            StrokeGray(0);
            LineWidth(r.lineWidthPt);
        }
        if (r.cornerW > 0 && r.cornerH > 0) {
            RoundedPath(r);
        } else {
            HPDF_Page_Rectangle(page_, X(r.x), Y(r.y + r.h), X(r.w), X(r.h));
        }
        if (fill && stroke) HPDF_Page_FillStroke(page_);
        else if (fill) HPDF_Page_Fill(page_);
        else HPDF_Page_Stroke(page_);
    }

    // A rectangle whose corners are quarters of a cornerW x cornerH ellipse.
    void RoundedPath(const RectOp& r) {
        const double rx = std::min(r.cornerW / 2, r.w / 2), ry = std::min(r.cornerH / 2, r.h / 2);
        const double left = r.x, right = r.x + r.w, top = r.y, bottom = r.y + r.h;
        const double kx = rx * kKappa, ky = ry * kKappa;
        HPDF_Page_MoveTo(page_, X(left + rx), Y(top));
        HPDF_Page_LineTo(page_, X(right - rx), Y(top));
        HPDF_Page_CurveTo(page_, X(right - rx + kx), Y(top), X(right), Y(top + ry - ky), X(right), Y(top + ry));
        HPDF_Page_LineTo(page_, X(right), Y(bottom - ry));
        HPDF_Page_CurveTo(page_, X(right), Y(bottom - ry + ky), X(right - rx + kx), Y(bottom), X(right - rx), Y(bottom));
        HPDF_Page_LineTo(page_, X(left + rx), Y(bottom));
        HPDF_Page_CurveTo(page_, X(left + rx - kx), Y(bottom), X(left), Y(bottom - ry + ky), X(left), Y(bottom - ry));
        HPDF_Page_LineTo(page_, X(left), Y(top + ry));
        HPDF_Page_CurveTo(page_, X(left), Y(top + ry - ky), X(left + rx - kx), Y(top), X(left + rx), Y(top));
        HPDF_Page_ClosePath(page_);
    }

    HaruError error_;
    HPDF_Doc doc_;
    HPDF_Font fonts_[2] = {nullptr, nullptr};
    HPDF_Page page_ = nullptr;
    double heightPt_ = 0;
    GraphicsState state_;
    // The artwork streams written, by (artwork, page height in points, screen-only
    // operations included); each keeps its artwork alive so that its address stays its own.
    struct SharedArtwork {
        std::shared_ptr<const Artwork> artwork;
        HPDF_Dict stream = nullptr;
    };
    std::map<std::tuple<const Artwork*, double, bool>, SharedArtwork> artworkStreams_;
};

}  // namespace

bool RenderPdf(const PageSnapshot& snapshot, const std::filesystem::path& file, const PdfOptions& options) {
    const auto [first, last] = PagesOf(options.range, snapshot.PageCount());
    PdfDocument pdf;
    for (int pageNo = first; pageNo <= last; ++pageNo) {
        if (options.progress && !options.progress(pageNo)) return false;
        pdf.AddPage(snapshot.ReadPage(pageNo), options.includeScreenOnly);
    }
    pdf.Save(file);
    return true;
}

}  // namespace qnvr::report
