#include "ui/print/report_preview.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "core/base/busy.h"
#include "core/base/prompter.h"
#include "report/html_renderer.h"
#include "report/pdf_renderer.h"
#include "report/printer_port.h"
#include "report/report_errors.h"
#include "ui/base/error_display.h"
#include "ui/base/modal.h"
#include "ui/print/file_dialogs.h"
#include "ui/print/output_options.h"
#include "ui/print/page_view.h"
#include "ui/print/report_status.h"

namespace qnvr {
namespace {

using report::ReportDestination;

const FileDialogSpec kOpenDialog{"OpenDialog", {}, "Snapshot Files (*.ndr)|*.ndr", "ndr", false};
const FileDialogSpec kSaveDialogNDR{"SaveDialogNDR", "Save to Snapshot Document", "Snapshot Document (*.ndr)|*.ndr",
                                    "ndr", true};
const FileDialogSpec kSaveDialogPDF{"SaveDialogPDF", "Save to PDF Document",
                                    "Adobe Portable Document (*.pdf)|*.pdf", "pdf", true};
const FileDialogSpec kSaveDialogHTML{"SaveDialogHTML", "Save to HTML Document", "Web Document (*.html)|*.html", "html",
                                     true};

Qt::KeyboardModifiers ModifiersOf(const QKeyEvent& event) { return event.modifiers() & ~Qt::KeypadModifier; }

void ScrollBy(QScrollBar& bar, int delta) { bar.setValue(bar.value() + delta); }

}  // namespace

TFrmReportPreview::TFrmReportPreview(const report::ReportJob& job, QWidget* parent) : QDialog(parent), job_(job) {
    BuildWindow();
}

TFrmReportPreview::~TFrmReportPreview() = default;

void TFrmReportPreview::BuildWindow() {
    setObjectName("TFrmReportPreview");
    setWindowTitle(tr("Report Preview"));
    // A single border without title-bar buttons: the window closes through Exit,
    // Escape or Alt+X.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(true);
    resize(615, 450);

    BuildToolBar();
    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName("ScrollBox1");
    ScrollBox1->setAccessibleName(tr("Page"));
    ScrollBox1->setAlignment(Qt::AlignCenter);
    QPalette grey = ScrollBox1->palette();
    grey.setColor(QPalette::Window, Qt::gray);
    ScrollBox1->setPalette(grey);
    ScrollBox1->setBackgroundRole(QPalette::Window);
    PageView = new TPageView;
    PageView->setObjectName("PageView");
    ScrollBox1->setWidget(PageView);
    ScrollBox1->setFocusPolicy(Qt::StrongFocus);

    auto* statusBar = new QStatusBar(this);
    statusBar->setObjectName("StatusBar");
    statusBar->setSizeGripEnabled(false);
    StatusText = new QLabel(statusBar);
    StatusText->setObjectName("StatusText");
    statusBar->addWidget(StatusText, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(ToolBar);
    layout->addWidget(ScrollBox1, 1);
    layout->addWidget(statusBar);

    WatchKeys();  // before the context menu, whose keys are its own
    BuildPopupMenu();
    setFocusProxy(ScrollBox1);
    ScrollBox1->setFocus();
    RefreshButtons();
}

QToolButton* TFrmReportPreview::AddButton(const char* name, const QString& caption, const QString& hint,
                                          void (TFrmReportPreview::*action)()) {
    auto* button = new QToolButton(ToolBar);
    button->setObjectName(name);
    button->setText(caption);
    button->setToolTip(hint);
    button->setAccessibleName(caption);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setFocusPolicy(Qt::NoFocus);  // the keys stay with the page
    ToolBar->addWidget(button);
    ConnectCommand(button, &QToolButton::clicked, this, action);
    return button;
}

void TFrmReportPreview::BuildToolBar() {
    ToolBar = new QToolBar(this);
    ToolBar->setObjectName("ToolBar");
    BtnOpen = AddButton("BtnOpen", tr("Open"), tr("Open Saved Report (Ctrl+O)"), &TFrmReportPreview::BtnOpenClick);
    BtnSave = AddButton("BtnSave", tr("Save"), tr("Save Report (Ctrl+S)"), &TFrmReportPreview::BtnSaveClick);
    BtnPrint = AddButton("BtnPrint", tr("Print"), tr("Print Report (Ctrl+P)"), &TFrmReportPreview::BtnPrintClick);
    ToolBar->addSeparator();
    BtnFirst = AddButton("BtnFirst", tr("First Page"), tr("Go to First Page (Alt+F)"), &TFrmReportPreview::BtnFirstClick);
    BtnPrior = AddButton("BtnPrior", tr("Prior Page"), tr("Go to Prior Page (Alt+P)"), &TFrmReportPreview::BtnPriorClick);
    BtnNext = AddButton("BtnNext", tr("Next Page"), tr("Go to Next Page (Alt+N)"), &TFrmReportPreview::BtnNextClick);
    BtnLast = AddButton("BtnLast", tr("Last Page"), tr("Go to Last Page (Alt+L)"), &TFrmReportPreview::BtnLastClick);
    ToolBar->addSeparator();
    BtnZoomIn = AddButton("BtnZoomIn", tr("Zoom In"), tr("Zoom In (+)"), &TFrmReportPreview::BtnZoomInClick);
    BtnZoomOut = AddButton("BtnZoomOut", tr("Zoom Out"), tr("Zoom Out (-)"), &TFrmReportPreview::BtnZoomOutClick);
    ToolBar->addSeparator();
    BtnExportPDF = AddButton("BtnExportPDF", tr("PDF Export"), tr("Export to PDF (Ctrl+D)"),
                             &TFrmReportPreview::BtnExportPDFClick);
    BtnExportHTML = AddButton("BtnExportHTML", tr("HTML Export"), tr("Export to HTML (Ctrl+H)"),
                              &TFrmReportPreview::BtnExportHTMLClick);
    ToolBar->addSeparator();
    BtnExit = AddButton("BtnExit", tr("Exit"), tr("Exit Preview Screen (Alt+X)"), &TFrmReportPreview::BtnExitClick);
}

void TFrmReportPreview::BuildPopupMenu() {
    PopupMenu = new QMenu(this);
    PopupMenu->setObjectName("PopupMenu");
    auto add = [this](const QString& caption, QToolButton* button, void (TFrmReportPreview::*action)()) {
        QAction* item = PopupMenu->addAction(caption);
        item->setObjectName(QStringLiteral("Mnu") + button->objectName().mid(3));
        connect(item, &QAction::triggered, this, [this, action] { RunCommand([&] { (this->*action)(); }); });
        return item;
    };
    auto addFollowing = [&](const QString& caption, QToolButton* button, void (TFrmReportPreview::*action)()) {
        menuButtons_.emplace_back(add(caption, button, action), button);
    };
    addFollowing(tr("Open Saved Report"), BtnOpen, &TFrmReportPreview::BtnOpenClick);
    addFollowing(tr("Save Report"), BtnSave, &TFrmReportPreview::BtnSaveClick);
    addFollowing(tr("Print Report"), BtnPrint, &TFrmReportPreview::BtnPrintClick);
    PopupMenu->addSeparator();
    addFollowing(tr("Go to First Page"), BtnFirst, &TFrmReportPreview::BtnFirstClick);
    addFollowing(tr("Go to Prior Page"), BtnPrior, &TFrmReportPreview::BtnPriorClick);
    addFollowing(tr("Go to Next Page"), BtnNext, &TFrmReportPreview::BtnNextClick);
    addFollowing(tr("Go to Last Page"), BtnLast, &TFrmReportPreview::BtnLastClick);
    PopupMenu->addSeparator();
    add(tr("Zoom In"), BtnZoomIn, &TFrmReportPreview::BtnZoomInClick);
    add(tr("Zoom Out"), BtnZoomOut, &TFrmReportPreview::BtnZoomOutClick);
    PopupMenu->addSeparator();
    addFollowing(tr("Export to PDF"), BtnExportPDF, &TFrmReportPreview::BtnExportPDFClick);
    addFollowing(tr("Export to HTML"), BtnExportHTML, &TFrmReportPreview::BtnExportHTMLClick);
    PopupMenu->addSeparator();
    add(tr("Exit Preview Screen"), BtnExit, &TFrmReportPreview::BtnExitClick);
    connect(PopupMenu, &QMenu::aboutToShow, this, &TFrmReportPreview::RefreshPopupMenu);
}

// Key preview: the window sees every key before the control that has the focus.
void TFrmReportPreview::WatchKeys() {
    for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
}

void TFrmReportPreview::ApplyPreviewSettings(const report::PreviewSettings& settings) {
    PageView->SetMarginPercent(settings.marginPercent);
    PageView->SetShadowDepth(settings.shadowDepth);
    zoomStep_ = settings.zoomStep > 0 ? settings.zoomStep : 10;
    SetZoom(settings.zoom);
    if (settings.maximized) setWindowState(windowState() | Qt::WindowMaximized);
    else resize(settings.width, settings.height);
}

void TFrmReportPreview::SetSnapshot(report::PageSnapshot snapshot) {
    snapshot_.emplace(std::move(snapshot));
    page_ = 0;
    ShowPage(1, At::Top);
}

void TFrmReportPreview::PrepareShow() {
    WriteStatus();
    SetZoom(kShowZoom);
    RefreshButtons();
}

int TFrmReportPreview::PageCount() const { return snapshot_ ? snapshot_->PageCount() : 0; }

int TFrmReportPreview::Zoom() const { return PageView->Zoom(); }

void TFrmReportPreview::SetZoom(int percent) { PageView->SetZoom(std::clamp(percent, kMinZoom, kMaxZoom)); }

void TFrmReportPreview::ShowPage(int pageNo, At at) {
    if (!snapshot_ || pageNo < 1 || pageNo > PageCount()) return;
    PageView->SetPage(snapshot_->ReadPage(pageNo));
    page_ = pageNo;
    VerticalBar().setValue(at == At::Top ? 0 : VerticalBar().maximum());
    WriteStatus();
    RefreshButtons();
}

void TFrmReportPreview::WriteStatus() {
    StatusText->setText(tr(" Page %1 of %2").arg(page_).arg(PageCount()));
}

void TFrmReportPreview::RefreshButtons() {
    BtnFirst->setEnabled(page_ > 1);
    BtnPrior->setEnabled(page_ > 1);
    BtnNext->setEnabled(page_ < PageCount());
    BtnLast->setEnabled(page_ < PageCount());
    BtnSave->setEnabled(Allows(report::ReportOption::soAllowSaveFromPreview));
    const bool printing = Allows(report::ReportOption::soAllowPrintFromPreview);
    BtnPrint->setEnabled(printing);
    BtnExportPDF->setEnabled(printing);
    BtnExportHTML->setEnabled(printing);
}

void TFrmReportPreview::RefreshPopupMenu() {
    for (auto& [item, button] : menuButtons_) item->setEnabled(button->isEnabled());
}

// Actions

void TFrmReportPreview::BtnOpenClick() {
    QString path;
    if (!AskFileName(this, kOpenDialog, path)) return;
    // Opened first, so that a damaged file leaves the pages shown as they were.
    report::PageSnapshot opened = report::PageSnapshot::OpenFile(path.toStdString());
    SetSnapshot(std::move(opened));
    setWindowTitle(QString(kAppTitle) + " - " + QFileInfo(path).fileName());
    RefreshButtons();
}

void TFrmReportPreview::BtnSaveClick() {
    if (!Allows(report::ReportOption::soAllowSaveFromPreview) || !snapshot_) return;
    QString path;
    if (!AskFileName(this, kSaveDialogNDR, path)) return;
    BusyCursor busy(job_.Ports().busy);
    snapshot_->SaveAs(path.toStdString());
}

void TFrmReportPreview::BtnPrintClick() {
    if (!Allows(report::ReportOption::soAllowPrintFromPreview) || !snapshot_) return;
    report::OutputOptions options;
    options.destination = ReportDestination::Printer;
    options.print = snapshot_->Settings();
    if (options.print.printer.empty()) options.print.printer = job_.Ports().printer.DefaultPrinter();
    if (job_.Setups.Has(report::ReportSetup::ssAllowPreviewSetup)) {
        TFrmOutputOptions window(job_, options, true, PageCount(), page_, this);
        if (ExecModal(window) != QDialog::Accepted) return;
    }
    PrintTo(options);
}

void TFrmReportPreview::PrintTo(const report::OutputOptions& options) {
    if (options.destination == ReportDestination::File) {
        BusyCursor busy(job_.Ports().busy);
        if (options.fileFormat == report::FileFormat::Pdf) {
            report::PdfOptions pdf;
            pdf.range = options.range;
            report::RenderPdf(*snapshot_, options.fileName, pdf);
        } else {
            snapshot_->SaveAs(options.fileName);
        }
        return;
    }
    report::PrinterPort& port = job_.Ports().printer;
    if (port.Printers().empty()) throw report::EReportException("No printers installed!");
    TFrmReportStatus status(QString::fromStdString(job_.TitleStatus), this);
    status.show();
    report::PrintSnapshot(*snapshot_, port, job_.JobTitle, options.print, options.range, [&](int pageNo) {
        return status.Update(QString::fromStdString(report::ReportJob::StatusText(job_.PrintStatusFormat, pageNo)));
    });
}

void TFrmReportPreview::BtnFirstClick() { ShowPage(1, At::Top); }
void TFrmReportPreview::BtnPriorClick() { ShowPage(page_ - 1, At::Top); }
void TFrmReportPreview::BtnNextClick() { ShowPage(page_ + 1, At::Top); }
void TFrmReportPreview::BtnLastClick() { ShowPage(PageCount(), At::Top); }

void TFrmReportPreview::BtnZoomInClick() { SetZoom(std::min(kMaxZoom, Zoom() + zoomStep_)); }

void TFrmReportPreview::BtnZoomOutClick() {
    if (Zoom() > kMinZoom) SetZoom(std::max(kMinZoom, Zoom() - zoomStep_));
}

void TFrmReportPreview::BtnExportPDFClick() {
    if (!Allows(report::ReportOption::soAllowPrintFromPreview) || !snapshot_) return;
    QString path;
    if (!AskFileName(this, kSaveDialogPDF, path)) return;
    BusyCursor busy(job_.Ports().busy);
    report::RenderPdf(*snapshot_, path.toStdString());
}

void TFrmReportPreview::BtnExportHTMLClick() {
    if (!Allows(report::ReportOption::soAllowPrintFromPreview) || !snapshot_) return;
    QString path;
    if (!AskFileName(this, kSaveDialogHTML, path)) return;
    BusyCursor busy(job_.Ports().busy);
    report::RenderHtml(*snapshot_, path.toStdString());
}

void TFrmReportPreview::BtnExitClick() { close(); }

// Scrolling and keys

QScrollBar& TFrmReportPreview::VerticalBar() const { return *ScrollBox1->verticalScrollBar(); }
QScrollBar& TFrmReportPreview::HorizontalBar() const { return *ScrollBox1->horizontalScrollBar(); }

void TFrmReportPreview::KeyPageUp() {
    QScrollBar& bar = VerticalBar();
    if (bar.value() > bar.minimum() || page_ <= 1) bar.setValue(bar.value() - ScrollBox1->viewport()->height());
    else ShowPage(page_ - 1, At::Bottom);
}

void TFrmReportPreview::KeyPageDown() {
    QScrollBar& bar = VerticalBar();
    const int target = bar.value() + ScrollBox1->viewport()->height();
    if (target <= bar.maximum()) bar.setValue(target);
    else if (page_ < PageCount()) ShowPage(page_ + 1, At::Top);
    else bar.setValue(bar.maximum());
}

void TFrmReportPreview::KeyUp() {
    QScrollBar& bar = VerticalBar();
    if (bar.value() > bar.minimum()) ScrollBy(bar, -bar.singleStep());
    else if (page_ > 1) ShowPage(page_ - 1, At::Bottom);
}

void TFrmReportPreview::KeyDown() {
    QScrollBar& bar = VerticalBar();
    if (bar.value() < bar.maximum()) ScrollBy(bar, bar.singleStep());
    else if (page_ < PageCount()) ShowPage(page_ + 1, At::Top);
}

// The key table of the window; true when the key was used. Modifiers match exactly.
bool TFrmReportPreview::HandleKey(const QKeyEvent& event) {
    const Qt::KeyboardModifiers mods = ModifiersOf(event);
    const bool plainOrCtrl = mods == Qt::NoModifier || mods == Qt::ControlModifier;
    const bool ctrl = mods == Qt::ControlModifier;
    const bool alt = mods == Qt::AltModifier;
    auto run = [](auto action) {
        RunCommand(action);
        return true;
    };
    auto ifEnabled = [&](QToolButton* button, void (TFrmReportPreview::*action)()) {
        return run([&] {
            if (button->isEnabled()) (this->*action)();
        });
    };

    switch (event.key()) {
        case Qt::Key_PageUp: if (plainOrCtrl) return run([&] { KeyPageUp(); }); break;
        case Qt::Key_PageDown: if (plainOrCtrl) return run([&] { KeyPageDown(); }); break;
        case Qt::Key_Home: if (plainOrCtrl) return run([&] { VerticalBar().setValue(0); }); break;
        case Qt::Key_End: if (plainOrCtrl) return run([&] { VerticalBar().setValue(VerticalBar().maximum()); }); break;
        case Qt::Key_Up: if (plainOrCtrl) return run([&] { KeyUp(); }); break;
        case Qt::Key_Down: if (plainOrCtrl) return run([&] { KeyDown(); }); break;
        case Qt::Key_Left:
        case Qt::Key_Right: {
            const int direction = event.key() == Qt::Key_Left ? -1 : 1;
            if (ctrl) return run([&] { ScrollBy(HorizontalBar(), direction * HorizontalBar().singleStep()); });
            if (mods == (Qt::ControlModifier | Qt::ShiftModifier))
                return run([&] { ScrollBy(HorizontalBar(), direction * ScrollBox1->viewport()->width()); });
            break;  // plain Left and Right belong to the scroll box
        }
        case Qt::Key_O: if (ctrl) return run([&] { BtnOpenClick(); }); break;
        case Qt::Key_S: if (ctrl) return run([&] { BtnSaveClick(); }); break;
        case Qt::Key_P:
            if (ctrl) return ifEnabled(BtnPrint, &TFrmReportPreview::BtnPrintClick);
            if (alt) return ifEnabled(BtnPrior, &TFrmReportPreview::BtnPriorClick);
            break;
        case Qt::Key_D: if (ctrl) return ifEnabled(BtnExportPDF, &TFrmReportPreview::BtnExportPDFClick); break;
        case Qt::Key_H: if (ctrl) return ifEnabled(BtnExportHTML, &TFrmReportPreview::BtnExportHTMLClick); break;
        case Qt::Key_F: if (alt) return ifEnabled(BtnFirst, &TFrmReportPreview::BtnFirstClick); break;
        case Qt::Key_N: if (alt) return ifEnabled(BtnNext, &TFrmReportPreview::BtnNextClick); break;
        case Qt::Key_L: if (alt) return ifEnabled(BtnNext, &TFrmReportPreview::BtnLastClick); break;
        case Qt::Key_X: if (alt) return run([&] { BtnExitClick(); }); break;
        case Qt::Key_Escape: return run([&] { BtnExitClick(); });
        default: break;
    }
    if (event.text() == "+") return run([&] { BtnZoomInClick(); });
    if (event.text() == "-") return run([&] { BtnZoomOutClick(); });
    return false;
}

bool TFrmReportPreview::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && HandleKey(static_cast<QKeyEvent&>(*event))) return true;
    if (event->type() == QEvent::Wheel && watched == ScrollBox1->viewport()) {
        const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
        if (delta < 0) RunCommand([&] { KeyDown(); });
        if (delta > 0) RunCommand([&] { KeyUp(); });
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TFrmReportPreview::keyPressEvent(QKeyEvent* event) {
    if (!HandleKey(*event)) QDialog::keyPressEvent(event);
}

void TFrmReportPreview::contextMenuEvent(QContextMenuEvent* event) { PopupMenu->popup(event->globalPos()); }

}  // namespace qnvr
