// PDF through libharu. Coordinates are turned from inches with y downward into PDF
// points with y upward; texts are converted to Windows-1252 for WinAnsiEncoding, and
// alignment uses the same metrics as the layout (fonts.h).
#include "report/pdf_renderer.h"

#include <hpdf.h>

#include <cstdio>

#include "core/base/prompter.h"
#include "core/text/cp1252.h"
#include "core/text/files.h"
#include "report/internal/file_output.h"
#include "report/fonts.h"
#include "report/page_range.h"
#include "report/report_errors.h"

namespace qnvr::report {
namespace {

constexpr const char* kPdfAuthor = "Morvane";
constexpr double kOutlineWidthPt = 0.6;  // stroke of outlined ("Outline") text
constexpr double kKappa = 0.5523;        // control point distance of a quarter ellipse

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
        state_ = GraphicsState{};
        for (const DrawOp& op : page.ops) {
            if (op.screenOnly && !includeScreenOnly) continue;
            std::visit([this](const auto& shape) { Draw(shape); }, op.shape);
        }
        EndText();
        Check();
    }

    // The document is made in memory and written with every write checked: the PDF
    // library's own file writer does not check closing its file, so a full disk would
    // pass unseen.
    void Save(const std::filesystem::path& file) {
        if (HPDF_SaveToStream(doc_) != HPDF_OK) throw EReportException(CannotWriteMessage(file, ErrorText()));
        std::string bytes(HPDF_GetStreamSize(doc_), '\0');
        HPDF_UINT32 size = static_cast<HPDF_UINT32>(bytes.size());
        HPDF_ResetStream(doc_);
        const HPDF_STATUS read = HPDF_ReadFromStream(doc_, reinterpret_cast<HPDF_BYTE*>(bytes.data()), &size);
        if ((read != HPDF_OK && read != HPDF_STREAM_EOF) || size != bytes.size())
            throw EReportException(CannotWriteMessage(file, ErrorText()));
        try {
            ReplaceFileWhole(file.string(), bytes);
        } catch (const std::system_error& e) {
            throw EReportException(CannotWriteMessage(file, e.code().message()));
        }
    }

private:
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
    };

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
        HPDF_Page_TextOut(page_, X(left), Y(t.y), bytes.c_str());
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
