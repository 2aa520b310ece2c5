#include "report/surface.h"

#include <algorithm>
#include <utility>

#include "report/fonts.h"
#include "report/printer_port.h"
#include "report/snapshot.h"

namespace qnvr::report {

ReportSurface::ReportSurface(SnapshotWriter& writer, PrinterPort* printers, PageStarted pageStarted)
    : writer_(writer), printers_(printers), pageStarted_(std::move(pageStarted)) {
    OpenPage();
}

ReportSurface::~ReportSurface() = default;

void ReportSurface::OpenPage() {
    ++pageNo_;
    const std::size_t lastCount = page_.ops.size();
    page_ = Page{pageWidth_, pageHeight_, {}, nullptr};
    page_.ops.reserve(lastCount);  // pages of a run are alike
    if (pageStarted_ && !pageStarted_(pageNo_)) throw JobCancelled{};
}

void ReportSurface::NewPage() {
    writer_.AddPage(page_);
    OpenPage();
    Home();
}

int ReportSurface::CurrentPage() const { return pageNo_; }

void ReportSurface::Finish() {
    if (finished_) return;
    // A page opened by a NewPage after the last drawing is not a page of the report.
    const bool trailingBlank = page_.ops.empty() && !page_.artwork && pageNo_ > 1;
    if (!trailingBlank) writer_.AddPage(page_);
    writer_.Finish(settings_);
    finished_ = true;
}

void ReportSurface::SetFont(const std::string& family, double sizePt) {
    fontName_ = family;
    fontSize_ = sizePt;
}

double ReportSurface::LineHeight() const { return LineHeightIn(fontName_, fontSize_); }

double ReportSurface::TextWidth(const std::string& text) const { return TextWidthIn(fontName_, fontSize_, text); }

void ReportSurface::GotoXY(double x, double y) {
    x_ = x;
    y_ = y;
}

void ReportSurface::Text(const std::string& text, double x, TextAlign align) {
    if (text.empty()) return;
    Append(DrawOp{TextOp{originX_ + x, originY_ + y_, fontName_, fontSize_, align, text}, screenOnly_});
}

void ReportSurface::PrintCenter(const std::string& text, double x) { Text(text, x, TextAlign::Center); }
void ReportSurface::PrintLeft(const std::string& text, double x) { Text(text, x, TextAlign::Left); }
void ReportSurface::PrintRight(const std::string& text, double x) { Text(text, x, TextAlign::Right); }

void ReportSurface::Println(const std::string& text) {
    Text(text, x_, TextAlign::Left);
    x_ = sectionLeft_;
    y_ += LineHeight();
}

void ReportSurface::SetOrigin(double x, double y) {
    originX_ = x;
    originY_ = y;
}

void ReportSurface::SetSection(double left, double top, double right, double bottom) {
    sectionLeft_ = left;
    sectionTop_ = top;
    sectionRight_ = right;
    sectionBottom_ = bottom;
    Home();
}

void ReportSurface::Home() { GotoXY(sectionLeft_, sectionTop_); }

void ReportSurface::ResetSection() {
    SetOrigin(0, 0);
    SetSection(0, 0, pageWidth_, pageHeight_);
}

void ReportSurface::Line(double x1, double y1, double x2, double y2, double widthPt) {
    Draw(DrawOp{LineOp{x1, y1, x2, y2, widthPt}, screenOnly_});
}

void ReportSurface::Rectangle(double x, double y, double w, double h, double lineWidthPt) {
    Draw(DrawOp{RectOp{x, y, w, h, lineWidthPt, -1, 0, 0}, screenOnly_});
}

void ReportSurface::FillRect(double x, double y, double w, double h, double gray) {
    Draw(DrawOp{RectOp{x, y, w, h, 0, gray, 0, 0}, screenOnly_});
}

void ReportSurface::RoundRect(double x, double y, double w, double h, double cornerW, double cornerH,
                              double lineWidthPt, double fillGray) {
    Draw(DrawOp{RectOp{x, y, w, h, lineWidthPt, fillGray, cornerW, cornerH}, screenOnly_});
}

void ReportSurface::DrawArtwork(const std::shared_ptr<const Artwork>& artwork) {
    if (!artwork || artwork->ops.empty()) return;
    if (!page_.ops.empty() || page_.artwork) {
        for (const DrawOp& op : artwork->ops) Draw(op);
        return;
    }
    if (originX_ == 0 && originY_ == 0) {
        page_.artwork = artwork;
        return;
    }
    MovedArtwork& entry = movedArtwork_[{artwork.get(), originX_, originY_}];
    if (!entry.moved) {
        auto moved = std::make_shared<Artwork>();
        moved->ops.reserve(artwork->ops.size());
        for (const DrawOp& op : artwork->ops) moved->ops.push_back(Moved(op));
        entry = {artwork, std::move(moved)};
    }
    page_.artwork = entry.moved;
}

DrawOp ReportSurface::Moved(DrawOp moved) const {
    std::visit(
        [this](auto& shape) {
            using Shape = std::decay_t<decltype(shape)>;
            if constexpr (std::is_same_v<Shape, LineOp>) {
                shape.x1 += originX_, shape.x2 += originX_;
                shape.y1 += originY_, shape.y2 += originY_;
            } else {
                shape.x += originX_;
                shape.y += originY_;
            }
        },
        moved.shape);
    return moved;
}

void ReportSurface::Draw(DrawOp op) { Append(Moved(std::move(op))); }

void ReportSurface::Append(DrawOp op) { page_.ops.push_back(std::move(op)); }

// ---------------------------------------------------------------------------
// Printer controls

void ReportSurface::SelectPrinter(const std::string& name) {
    settings_.printer = name;
    UpdatePageSize();
}

void ReportSurface::SelectPaper(const std::string& name) {
    settings_.paper = name;
    UpdatePageSize();
}

void ReportSurface::SelectBin(const std::string& name) { settings_.bin = name; }

void ReportSurface::SetOrientation(PageOrientation orientation) {
    settings_.orientation = orientation;
    UpdatePageSize();
}

bool ReportSurface::SupportsCollate() const {
    return printers_ && !settings_.printer.empty() && printers_->SupportsCollate(settings_.printer);
}

void ReportSurface::SetCollate(bool collate) { settings_.collate = collate; }

bool ReportSurface::SupportsDuplex() const {
    return printers_ && !settings_.printer.empty() && printers_->SupportsDuplex(settings_.printer);
}

void ReportSurface::SetDuplex(DuplexMode duplex) { settings_.duplex = duplex; }

void ReportSurface::SetCopies(int copies) { settings_.copies = std::max(1, copies); }

std::vector<std::string> ReportSurface::Printers() const { return printers_ ? printers_->Printers() : std::vector<std::string>{}; }

std::vector<std::string> ReportSurface::Papers() const {
    return printers_ && !settings_.printer.empty() ? printers_->Papers(settings_.printer) : std::vector<std::string>{};
}

std::vector<std::string> ReportSurface::Bins() const {
    return printers_ && !settings_.printer.empty() ? printers_->Bins(settings_.printer) : std::vector<std::string>{};
}

void ReportSurface::SetSettings(const PrintSettings& settings) {
    settings_ = settings;
    settings_.copies = std::max(1, settings_.copies);
    UpdatePageSize();
}

// The sheet follows the selected paper (Letter when the printer does not say) and the
// orientation. A page already drawn on keeps its size; the next one takes the new size.
void ReportSurface::UpdatePageSize() {
    PaperSize paper;
    if (printers_ && !settings_.printer.empty() && !settings_.paper.empty()) {
        if (auto known = printers_->PaperSizeOf(settings_.printer, settings_.paper)) paper = *known;
    }
    const bool landscape = settings_.orientation == PageOrientation::Landscape;
    const double width = landscape ? paper.heightIn : paper.widthIn;
    const double height = landscape ? paper.widthIn : paper.heightIn;
    const bool wholePageSection = sectionLeft_ == 0 && sectionTop_ == 0 && sectionRight_ == pageWidth_ &&
                                  sectionBottom_ == pageHeight_;
    pageWidth_ = width;
    pageHeight_ = height;
    if (wholePageSection) sectionRight_ = width, sectionBottom_ = height;
    if (page_.ops.empty() && !page_.artwork) page_.widthIn = width, page_.heightIn = height;
}

}  // namespace qnvr::report
