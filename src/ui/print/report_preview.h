#pragma once
// TFrmReportPreview: shows the pages of a job's page snapshot one at a time, zoomed
// between 10 and 200 percent, and, as the job allows, prints the snapshot, saves it as
// a snapshot document, exports it to PDF or HTML, and reopens saved documents.
#include <QDialog>

#include <optional>
#include <utility>
#include <vector>

#include "report/report_job.h"
#include "report/snapshot.h"

class QAction;
class QLabel;
class QMenu;
class QScrollArea;
class QScrollBar;
class QToolBar;
class QToolButton;

namespace qnvr {

class TPageView;

class TFrmReportPreview final : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMinZoom = 10;
    static constexpr int kMaxZoom = 200;
    static constexpr int kShowZoom = 85;  // every preview opens at this zoom

    // The job decides what the window allows (its options and setups) and is used for
    // printing from the preview; it outlives the window.
    explicit TFrmReportPreview(const report::ReportJob& job, QWidget* parent = nullptr);
    ~TFrmReportPreview() override;

    // The job's settings for the page view: margin, shadow, zoom and zoom step.
    void ApplyPreviewSettings(const report::PreviewSettings& settings);
    // The snapshot to show; renders page 1.
    void SetSnapshot(report::PageSnapshot snapshot);
    // The show step: status text, zoom 85, buttons.
    void PrepareShow();

    int CurrentPage() const { return page_; }
    int PageCount() const;
    int Zoom() const;
    void SetZoom(int percent);
    const report::PageSnapshot* Snapshot() const { return snapshot_ ? &*snapshot_ : nullptr; }

    // The actions of the tool bar, the context menu and the keys.
    void BtnOpenClick();
    void BtnSaveClick();
    void BtnPrintClick();
    void BtnFirstClick();
    void BtnPriorClick();
    void BtnNextClick();
    void BtnLastClick();
    void BtnZoomInClick();
    void BtnZoomOutClick();
    void BtnExportPDFClick();
    void BtnExportHTMLClick();
    void BtnExitClick();

    QToolBar* ToolBar;
    QToolButton* BtnOpen;
    QToolButton* BtnSave;
    QToolButton* BtnPrint;
    QToolButton* BtnFirst;
    QToolButton* BtnPrior;
    QToolButton* BtnNext;
    QToolButton* BtnLast;
    QToolButton* BtnZoomIn;
    QToolButton* BtnZoomOut;
    QToolButton* BtnExportPDF;
    QToolButton* BtnExportHTML;
    QToolButton* BtnExit;
    QScrollArea* ScrollBox1;
    TPageView* PageView;
    QLabel* StatusText;
    QMenu* PopupMenu;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    enum class At { Top, Bottom };

    void BuildWindow();
    void BuildToolBar();
    void BuildPopupMenu();
    void WatchKeys();
    QToolButton* AddButton(const char* name, const QString& caption, const QString& hint, void (TFrmReportPreview::*action)());

    bool HandleKey(const QKeyEvent& event);
    void ShowPage(int pageNo, At at);
    void WriteStatus();
    void RefreshButtons();
    void RefreshPopupMenu();

    QScrollBar& VerticalBar() const;
    QScrollBar& HorizontalBar() const;
    void KeyPageUp();
    void KeyPageDown();
    void KeyUp();
    void KeyDown();

    void PrintTo(const report::OutputOptions& options);
    bool Allows(report::ReportOption option) const { return job_.Options.Has(option); }

    const report::ReportJob& job_;
    // Menu items that take the enabled state of their button when the menu opens.
    std::vector<std::pair<QAction*, QToolButton*>> menuButtons_;
    std::optional<report::PageSnapshot> snapshot_;
    int page_ = 0;
    int zoomStep_ = 10;
};

}  // namespace qnvr
