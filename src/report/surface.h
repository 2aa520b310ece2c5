#pragma once
// The drawing surface of a running report job: pages measured in inches from the
// sheet's top-left corner (y downward, text y is the baseline), a text cursor, a
// current font, sections with a movable origin, graphics, and the printer controls.
//
// Every operation appends to the page being recorded; NewPage hands the finished page
// to the snapshot. Positions are measured from the current origin (SetOrigin).
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "report/page.h"

namespace qnvr::report {

class SnapshotWriter;
class PrinterPort;

class ReportSurface {
public:
    // Called with the number of each page as it opens (1 for the first); returning
    // false cancels the run (the surface throws JobCancelled).
    using PageStarted = std::function<bool(int pageNo)>;

    // Opens page 1. printers may be null (no print back end).
    ReportSurface(SnapshotWriter& writer, PrinterPort* printers, PageStarted pageStarted = {});
    ReportSurface(const ReportSurface&) = delete;
    ReportSurface& operator=(const ReportSurface&) = delete;
    ~ReportSurface();

    // Pages
    void NewPage();        // closes the current page and opens the next; font and cursor stay
    int CurrentPage() const;
    // Closes the last page (left out when it is empty and not the only page) and
    // finishes the snapshot with the printer settings. Called by the job.
    void Finish();

    // Font
    void SetFont(const std::string& family, double sizePt);
    const std::string& FontName() const { return fontName_; }
    double FontSize() const { return fontSize_; }
    double LineHeight() const;  // one line of the current font, inches
    double TextWidth(const std::string& text) const;

    // Text cursor and text
    void GotoXY(double x, double y);
    double XPos() const { return x_; }
    void SetXPos(double x) { x_ = x; }
    double YPos() const { return y_; }
    void SetYPos(double y) { y_ = y; }
    void PrintCenter(const std::string& text, double x);  // centred on x, at the cursor's y
    void PrintLeft(const std::string& text, double x);
    void PrintRight(const std::string& text, double x);
    void Println(const std::string& text);                // at the cursor, then a new line

    // Sections: the origin (absolute on the sheet) and the margins of the current
    // section, relative to the origin. Println returns to SectionLeft. SetSection puts
    // the cursor at the section's top-left corner, as Home does.
    void SetOrigin(double x, double y);
    double OriginX() const { return originX_; }
    double OriginY() const { return originY_; }
    void SetSection(double left, double top, double right, double bottom);
    double SectionLeft() const { return sectionLeft_; }
    double SectionTop() const { return sectionTop_; }
    double SectionRight() const { return sectionRight_; }
    double SectionBottom() const { return sectionBottom_; }
    void Home();
    // Origin back to the sheet's corner, the section to the whole page, cursor home.
    void ResetSection();

    // Graphics, relative to the origin.
    void Line(double x1, double y1, double x2, double y2, double widthPt = 0.5);
    void Rectangle(double x, double y, double w, double h, double lineWidthPt = 0.5);
    void FillRect(double x, double y, double w, double h, double gray = 0.0);
    void RoundRect(double x, double y, double w, double h, double cornerW, double cornerH,
                   double lineWidthPt = 0.5, double fillGray = 1.0);
    // Appends one operation as given, moved by the origin.
    void Draw(DrawOp op);
    // Draws fixed artwork (a design's boxes, rules and captions), moved by the origin.
    // On a page with nothing drawn yet the page refers to the artwork, shared with
    // every other page that draws the same artwork at the same origin, so that outputs
    // write it once per document; on a page already drawn on (or already showing
    // artwork) its operations are appended like any others, keeping the drawing order.
    void DrawArtwork(const std::shared_ptr<const Artwork>& artwork);
    // While set, what is drawn shows on the preview only.
    void SetScreenOnly(bool screenOnly) { screenOnly_ = screenOnly; }
    bool ScreenOnly() const { return screenOnly_; }

    // Printer controls (recorded in the snapshot; the page size follows the paper).
    void SelectPrinter(const std::string& name);
    void SelectPaper(const std::string& name);
    void SelectBin(const std::string& name);
    void SetOrientation(PageOrientation orientation);
    bool SupportsCollate() const;
    void SetCollate(bool collate);
    bool SupportsDuplex() const;
    void SetDuplex(DuplexMode duplex);
    void SetCopies(int copies);            // at least 1
    std::vector<std::string> Printers() const;
    std::vector<std::string> Papers() const;  // of the selected printer
    std::vector<std::string> Bins() const;
    const PrintSettings& Settings() const { return settings_; }
    void SetSettings(const PrintSettings& settings);  // the output options step's choices

private:
    void Append(DrawOp op);
    DrawOp Moved(DrawOp op) const;  // moved by the origin
    void Text(const std::string& text, double x, TextAlign align);
    void OpenPage();
    void UpdatePageSize();

    SnapshotWriter& writer_;
    PrinterPort* printers_;
    PageStarted pageStarted_;
    Page page_;
    int pageNo_ = 0;
    bool finished_ = false;
    double pageWidth_ = kLetterWidthIn, pageHeight_ = kLetterHeightIn;

    std::string fontName_ = "Arial";
    double fontSize_ = 10;
    double x_ = 0, y_ = 0;
    double originX_ = 0, originY_ = 0;
    double sectionLeft_ = 0, sectionTop_ = 0, sectionRight_ = kLetterWidthIn, sectionBottom_ = kLetterHeightIn;
    bool screenOnly_ = false;
    PrintSettings settings_;
    // Artwork moved by an origin, by (artwork, origin x, origin y); the key's artwork is
    // kept alive in the value so that its address is not reused.
    struct MovedArtwork {
        std::shared_ptr<const Artwork> source, moved;
    };
    std::map<std::tuple<const Artwork*, double, double>, MovedArtwork> movedArtwork_;
};

// Thrown through the drawing code when the user cancels a run; the job catches it and
// ends quietly.
struct JobCancelled {};

}  // namespace qnvr::report
