// The report preview as a person uses it: keys, mouse wheel, tool bar, context menu,
// zoom limits, what each job allows, Save then Open, the exports, printing from the
// preview through the test print server, and a whole job run through its windows.
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QLineEdit>
#include <QGroupBox>
#include <QPushButton>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

#include <memory>

#include "../../platform/print/cups_pdf_printer.h"
#include "core/base/scripted_prompter.h"
#include "platform/print/cups_printer_port.h"
#include "print_fixtures.h"
#include "report/printer_port.h"
#include "report/surface.h"
#include "support/modal_script.h"
#include "support/qnvr_test_main.h"
#include "ui/base/modal.h"
#include "ui/print/output_options.h"
#include "ui/print/page_view.h"
#include "ui/print/preview_hook.h"
#include "ui/print/report_job_windows.h"
#include "ui/print/report_preview.h"
#include "ui/print/report_status.h"
#include "ui/base/window_ports.h"

using namespace qnvr;
using namespace qnvr::testing;

namespace {

std::unique_ptr<TFrmReportPreview> ShowPreview(const WindowPorts& ports, const report::ReportJob& job, const QString& file,
                                               int pages) {
    auto window = std::make_unique<TFrmReportPreview>(job);
    UsePorts(*window, ports);
    window->ApplyPreviewSettings(job.Preview);
    window->SetSnapshot(SnapshotFile(file.toStdString(), pages));
    window->PrepareShow();
    window->show();
    window->activateWindow();
    return window;
}

void Press(TFrmReportPreview& window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(window.ScrollBox1, static_cast<Qt::Key>(key), modifiers);
}

QScrollBar& Bar(TFrmReportPreview& window) { return *window.ScrollBox1->verticalScrollBar(); }

bool AtBottom(TFrmReportPreview& window) { return Bar(window).value() == Bar(window).maximum(); }

QAction* MenuItem(TFrmReportPreview& window, const QString& caption) {
    for (QAction* item : window.PopupMenu->actions())
        if (item->text() == caption) return item;
    return nullptr;
}

// Goes to the file's folder in a file dialog, types its name and clicks Open or Save.
void PickFile(QDialog& dialog, const QString& path) {
    auto& files = dynamic_cast<QFileDialog&>(dialog);
    const QFileInfo file(path);
    files.setDirectory(file.absolutePath());
    TypeInto(dialog, "fileNameEdit", file.fileName());
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->isDefault()) return QTest::mouseClick(button, Qt::LeftButton);
    }
    QFAIL("the file dialog has no default button");
}

// A right click on the page: the window system sends the context menu event.
void OpenContextMenu(TFrmReportPreview& window) {
    QWidget* page = window.ScrollBox1->viewport();
    const QPoint at(page->width() / 2, page->height() / 2);
    QTest::mouseClick(page, Qt::RightButton, {}, at);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, page->mapToGlobal(at));
    QApplication::sendEvent(page, &event);
    QTRY_VERIFY(window.PopupMenu->isVisible());
}

// The job runs from owner, shown and given the ports, as jobs run from the W-2 window.
void RunFromWindow(QWidget& owner, const WindowPorts& ports, report::ReportJob& job) {
    UsePorts(owner, ports);
    owner.show();
    QApplication::setActiveWindow(&owner);
    QVERIFY(QTest::qWaitForWindowActive(&owner));
    job.OverridePreview = ReportPreviewHook(&owner);
}

void SetSpin(QSpinBox* box, int value) {
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, QString::number(value));
}

}  // namespace

class TestReportPreview : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(dir_.isValid()); }

    void OnePageSnapshotOpensAt85WithPagingDisabled() {
        WindowPorts& ports = NewPorts();
        report::ReportJob job{ports};
        auto window = ShowPreview(ports, job, dir_.filePath("one.ndr"), 1);
        QCOMPARE(window->Zoom(), 85);
        QCOMPARE(window->StatusText->text(), QString(" Page 1 of 1"));
        for (QToolButton* button : {window->BtnFirst, window->BtnPrior, window->BtnNext, window->BtnLast})
            QVERIFY2(!button->isEnabled(), qPrintable(button->objectName()));
        for (QToolButton* button : {window->BtnOpen, window->BtnSave, window->BtnPrint, window->BtnZoomIn,
                                    window->BtnZoomOut, window->BtnExportPDF, window->BtnExportHTML, window->BtnExit})
            QVERIFY2(button->isEnabled(), qPrintable(button->objectName()));
        QCOMPARE(window->BtnPrint->toolTip(), QString("Print Report (Ctrl+P)"));
    }

    void ZoomStaysBetween10And200() {
        WindowPorts& ports = NewPorts();
        struct Case {
            int start;
            const char* typed;
            int expected;
        } cases[] = {{15, "-", 10}, {10, "-", 10}, {195, "+", 200}, {200, "+", 200}, {85, "+", 95}, {85, "-", 75}};
        report::ReportJob job{ports};
        auto window = ShowPreview(ports, job, dir_.filePath("zoom.ndr"), 1);
        for (const auto& c : cases) {
            window->SetZoom(c.start);
            QTest::keyClicks(window->ScrollBox1, c.typed);
            QCOMPARE(window->Zoom(), c.expected);
            window->SetZoom(c.start);
            QTest::mouseClick(*c.typed == '+' ? window->BtnZoomIn : window->BtnZoomOut, Qt::LeftButton);
            QCOMPARE(window->Zoom(), c.expected);
        }
        const int width100 = (window->SetZoom(100), window->PageView->width());
        window->SetZoom(200);
        QVERIFY(window->PageView->width() > 1.9 * width100);
    }

    void CopyAPreviewCanOnlyBeViewed() {
        WindowPorts& ports = NewPorts();
        report::ReportJob job{ports};
        MakeCopyAJob(job);
        ModalScript script(ports);  // no dialog may open
        auto window = ShowPreview(ports, job, dir_.filePath("copya.ndr"), 2);
        for (QToolButton* button : {window->BtnSave, window->BtnPrint, window->BtnExportPDF, window->BtnExportHTML})
            QVERIFY2(!button->isEnabled(), qPrintable(button->objectName()));
        QVERIFY(window->BtnOpen->isEnabled());
        for (int key : {Qt::Key_P, Qt::Key_D, Qt::Key_H, Qt::Key_S}) Press(*window, key, Qt::ControlModifier);
        QCOMPARE(script.Opened(), QStringList());
        QVERIFY(window->isVisible());

        OpenContextMenu(*window);
        for (const char* caption : {"Save Report", "Print Report", "Export to PDF", "Export to HTML"})
            QVERIFY2(!MenuItem(*window, caption)->isEnabled(), caption);
        for (const char* caption : {"Open Saved Report", "Zoom In", "Zoom Out", "Exit Preview Screen", "Go to Next Page"})
            QVERIFY2(MenuItem(*window, caption)->isEnabled(), caption);
        window->PopupMenu->hide();
    }

    void ContextMenuItemsFollowTheirButtons() {
        WindowPorts& ports = NewPorts();
        report::ReportJob job{ports};
        auto window = ShowPreview(ports, job, dir_.filePath("menu.ndr"), 3);
        OpenContextMenu(*window);
        QVERIFY(!MenuItem(*window, "Go to First Page")->isEnabled());
        QVERIFY(!MenuItem(*window, "Go to Prior Page")->isEnabled());
        QAction* next = MenuItem(*window, "Go to Next Page");
        QVERIFY(next->isEnabled());
        QTest::mouseClick(window->PopupMenu, Qt::LeftButton, {}, window->PopupMenu->actionGeometry(next).center());
        QCOMPARE(window->CurrentPage(), 2);
        QCOMPARE(window->StatusText->text(), QString(" Page 2 of 3"));
    }

    void AltKeysTurnPagesWhereTheirButtonsAllow() {
        WindowPorts& ports = NewPorts();
        report::ReportJob job{ports};
        auto window = ShowPreview(ports, job, dir_.filePath("alt.ndr"), 3);
        struct Step {
            int key;
            int expected;
        } steps[] = {{Qt::Key_P, 1}, {Qt::Key_F, 1}, {Qt::Key_N, 2}, {Qt::Key_L, 3},
                     {Qt::Key_N, 3}, {Qt::Key_L, 3}, {Qt::Key_P, 2}, {Qt::Key_F, 1}};
        for (const auto& step : steps) {
            Press(*window, step.key, Qt::AltModifier);
            QCOMPARE(window->CurrentPage(), step.expected);
            QVERIFY(window->PageView->Page() == NumberedPage(step.expected));
        }
        Press(*window, Qt::Key_N, Qt::AltModifier | Qt::ShiftModifier);  // modifiers must match exactly
        QCOMPARE(window->CurrentPage(), 1);
        QCOMPARE(window->BtnLast->isEnabled(), true);
        QCOMPARE(window->BtnFirst->isEnabled(), false);
    }

    void DownWalksThroughEveryPageAndUpWalksBack() {
        WindowPorts& ports = NewPorts();
        report::ReportJob job{ports};
        auto window = ShowPreview(ports, job, dir_.filePath("walk.ndr"), 3);
        QVERIFY(Bar(*window).maximum() > 0);
        QList<int> seen{window->CurrentPage()};
        for (int i = 0; i < 1000 && !(window->CurrentPage() == 3 && AtBottom(*window)); ++i) {
            const int before = window->CurrentPage();
            Press(*window, Qt::Key_Down);
            if (window->CurrentPage() != before) {
                seen << window->CurrentPage();
                QCOMPARE(Bar(*window).value(), 0);  // a new page starts at its top
            }
        }
        QCOMPARE(seen, (QList<int>{1, 2, 3}));
        Press(*window, Qt::Key_Down);
        QCOMPARE(window->CurrentPage(), 3);  // nothing after the last page

        Press(*window, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(Bar(*window).value(), 0);
        Press(*window, Qt::Key_Up);
        QCOMPARE(window->CurrentPage(), 2);
        QVERIFY(AtBottom(*window));  // the previous page comes in at its bottom
        Press(*window, Qt::Key_Home);
        Press(*window, Qt::Key_End);
        QVERIFY(AtBottom(*window));
    }

    void PageKeysScrollByTheViewThenTurnThePage() {
        WindowPorts& ports = NewPorts();
        report::ReportJob job{ports};
        auto window = ShowPreview(ports, job, dir_.filePath("pages.ndr"), 2);
        const int view = window->ScrollBox1->viewport()->height();
        Press(*window, Qt::Key_PageDown);
        QCOMPARE(Bar(*window).value(), std::min(view, Bar(*window).maximum()));
        for (int i = 0; i < 20 && window->CurrentPage() == 1; ++i) Press(*window, Qt::Key_PageDown);
        QCOMPARE(window->CurrentPage(), 2);
        QCOMPARE(Bar(*window).value(), 0);
        for (int i = 0; i < 20 && !AtBottom(*window); ++i) Press(*window, Qt::Key_PageDown, Qt::ControlModifier);
        Press(*window, Qt::Key_PageDown);
        QCOMPARE(window->CurrentPage(), 2);  // the last page stays, scrolled to its bottom
        QVERIFY(AtBottom(*window));

        Press(*window, Qt::Key_Home);
        Press(*window, Qt::Key_PageUp);
        QCOMPARE(window->CurrentPage(), 1);
        QVERIFY(AtBottom(*window));
        Press(*window, Qt::Key_PageUp);
        QCOMPARE(Bar(*window).value(), std::max(0, Bar(*window).maximum() - view));
        Press(*window, Qt::Key_Home);
        Press(*window, Qt::Key_PageUp);
        QCOMPARE(window->CurrentPage(), 1);
        QCOMPARE(Bar(*window).value(), 0);
    }

    void CtrlArrowsScrollSidewaysAndTheWheelActsLikeUpAndDown() {
        WindowPorts& ports = NewPorts();
        report::ReportJob job{ports};
        auto window = ShowPreview(ports, job, dir_.filePath("side.ndr"), 2);
        window->SetZoom(200);
        QScrollBar& side = *window->ScrollBox1->horizontalScrollBar();
        QVERIFY(side.maximum() > 0);
        side.setValue(0);
        Press(*window, Qt::Key_Right, Qt::ControlModifier);
        QCOMPARE(side.value(), side.singleStep());
        Press(*window, Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(side.value(), std::min(side.maximum(), side.singleStep() + window->ScrollBox1->viewport()->width()));
        Press(*window, Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier);
        Press(*window, Qt::Key_Left, Qt::ControlModifier);
        QCOMPARE(side.value(), 0);

        QWidget* viewport = window->ScrollBox1->viewport();
        const QPointF at(viewport->width() / 2.0, viewport->height() / 2.0);
        auto wheel = [&](int delta) {
            QWheelEvent event(at, viewport->mapToGlobal(at), {}, QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(viewport, &event);
        };
        wheel(-120);
        QCOMPARE(Bar(*window).value(), Bar(*window).singleStep());
        wheel(120);
        QCOMPARE(Bar(*window).value(), 0);
        Press(*window, Qt::Key_End);
        wheel(-120);
        QCOMPARE(window->CurrentPage(), 2);
    }

    void SavedSnapshotReopensWithTheSamePages() {
        ScriptedPrompter prompter;
        WindowPorts& ports = NewPorts(prompter);
        ModalScript script(ports);
        report::ReportJob job{ports};
        auto window = ShowPreview(ports, job, dir_.filePath("job.rpt"), 3);
        const QString saved = dir_.filePath("saved");  // the dialog adds ".ndr"
        script.Then([&](QDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QString("Save to Snapshot Document"));
            PickFile(dialog, saved);

        });
        Press(*window, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(QFile::exists(saved + ".ndr"));

        report::ReportJob other{ports};
        auto reopened = ShowPreview(ports, other, dir_.filePath("other.ndr"), 1);
        script.Then([&](QDialog& dialog) { PickFile(dialog, saved + ".ndr"); });
        Press(*reopened, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(reopened->windowTitle(), QString("Quenvora W-2 2026 - saved.ndr"));
        QCOMPARE(reopened->PageCount(), 3);
        for (int n = 1; n <= 3; ++n) {
            QVERIFY(reopened->PageView->Page() == NumberedPage(n));
            Press(*reopened, Qt::Key_N, Qt::AltModifier);
        }
        QCOMPARE(prompter.Messages().size(), std::size_t(0));
        QCOMPARE(script.Pending(), std::size_t(0));
    }

    void ADamagedDocumentIsRefusedAndThePagesStay() {
        ScriptedPrompter prompter;
        WindowPorts& ports = NewPorts(prompter);
        ModalScript script(ports);
        const QString damaged = dir_.filePath("damaged.ndr");
        {
            QFile file(damaged);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("QNVRSNAP this is no snapshot at all");
        }
        report::ReportJob job{ports};
        job.TitlePreview = "Form W-3 Preview";
        auto window = ShowPreview(ports, job, dir_.filePath("kept.ndr"), 2);
        window->setWindowTitle("Form W-3 Preview");
        script.Then([&](QDialog& dialog) { PickFile(dialog, damaged); });
        QTest::mouseClick(window->BtnOpen, Qt::LeftButton);
        QCOMPARE(prompter.Messages().size(), std::size_t(1));
        QCOMPARE(prompter.Messages()[0].style, MsgStyle::Error);
        QVERIFY(QString::fromStdString(prompter.Messages()[0].text).contains("damaged.ndr"));
        QCOMPARE(window->PageCount(), 2);
        QCOMPARE(window->windowTitle(), QString("Form W-3 Preview"));
    }

    void SavingOverAFileAsksFirst() {
        ScriptedPrompter prompter;
        WindowPorts& ports = NewPorts(prompter);
        ModalScript script(ports);
        report::ReportJob job{ports};
        auto window = ShowPreview(ports, job, dir_.filePath("two.ndr"), 2);
        const QString existing = dir_.filePath("existing.ndr");
        {
            QFile file(existing);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("keep me");
        }
        prompter.Answer(MsgButton::No);
        script.Then([&](QDialog& dialog) { PickFile(dialog, existing); });
        Press(*window, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(prompter.Texts().back(), std::string("existing.ndr already exists.~Do you want to replace it?"));
        QFile kept(existing);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("keep me"));
        kept.close();

        prompter.Answer(MsgButton::Yes);
        script.Then([&](QDialog& dialog) { PickFile(dialog, existing); });
        Press(*window, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(report::PageSnapshot::OpenFile(existing.toStdString()).PageCount(), 2);
    }

    void ExportsWriteEveryPage() {
        WindowPorts& ports = NewPorts();
        ModalScript script(ports);
        report::ReportJob job{ports};
        auto window = ShowPreview(ports, job, dir_.filePath("export.ndr"), 3);
        script.Then([&](QDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QString("Save to PDF Document"));
            PickFile(dialog, dir_.filePath("export"));
        });
        Press(*window, Qt::Key_D, Qt::ControlModifier);
        const std::string pdf = dir_.filePath("export.pdf").toStdString();
        QCOMPARE(PdfPageCount(pdf), 3);
        QVERIFY(PdfText(pdf).find("Snapshot page 3") != std::string::npos);

        script.Then([&](QDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QString("Save to HTML Document"));
            PickFile(dialog, dir_.filePath("export"));
        });
        QTest::mouseClick(window->BtnExportHTML, Qt::LeftButton);
        QFile html(dir_.filePath("export.html"));
        QVERIFY(html.open(QIODevice::ReadOnly));
        const QByteArray text = html.readAll();
        QVERIFY(text.indexOf("Snapshot page 1") < text.indexOf("Snapshot page 2"));
        QVERIFY(text.indexOf("Snapshot page 2") < text.indexOf("Snapshot page 3"));
    }

    void EscapeAndAltXClose() {
        WindowPorts& ports = NewPorts();
        report::ReportJob job{ports};
        for (auto [key, modifiers] : {std::pair{Qt::Key_Escape, Qt::KeyboardModifiers()},
                                      std::pair{Qt::Key_X, Qt::KeyboardModifiers(Qt::AltModifier)}}) {
            auto window = ShowPreview(ports, job, dir_.filePath("close.ndr"), 1);
            Press(*window, key, modifiers);
            QVERIFY(!window->isVisible());
        }
    }

    // A whole run: output options, status window, then the preview through the hook.
    void AJobRunShowsItsWindowsAndKeepsItsFile() {
        ReportJobWindows windows;
        WindowPorts& ports = NewPorts(SilentPrompter(), report::NoPrinters(), windows);
        ModalScript script(ports);
        report::ReportJob job{ports};
        job.TitleSetup = "Employee Form W-2 Setup";
        job.TitleStatus = "Employee Form W-2 Status";
        job.TitlePreview = "Employee Form W-2 Preview";
        job.StreamMode = report::SnapshotStore::File;
        job.StreamFileName = dir_.filePath("QNVR.RPT").toStdString();
        job.Preview.zoom = 120;
        job.OnPrint = [](report::ReportSurface& surface) {
            surface.GotoXY(1, 1);
            surface.Println("first");
            surface.NewPage();
            surface.Println("second");
        };
        QWidget owner;
        RunFromWindow(owner, ports, job);
        script
            .Then([](QDialog& dialog) {
                QCOMPARE(dialog.windowTitle(), QString("Employee Form W-2 Setup"));
                auto* port = dialog.findChild<QLabel*>("PrinterPort");
                QCOMPARE(port->text(), QString("No printers installed!"));
                QVERIFY(!dialog.findChild<QRadioButton*>("RbPrinter")->isEnabled());
                QVERIFY(dialog.findChild<QRadioButton*>("RbPreview")->isChecked());
                Click(dialog, "BtnOk");
            })
            .Then([](QDialog& dialog) {
                auto& preview = dynamic_cast<TFrmReportPreview&>(dialog);
                QCOMPARE(preview.windowTitle(), QString("Employee Form W-2 Preview"));
                QCOMPARE(preview.Zoom(), 85);
                QCOMPARE(preview.PageCount(), 2);
                QCOMPARE(preview.StatusText->text(), QString(" Page 1 of 2"));
                QTest::keyClick(preview.ScrollBox1, Qt::Key_Escape);
            });
        QVERIFY(job.Execute());
        QCOMPARE(script.Pending(), std::size_t(0));
        QCOMPARE(report::PageSnapshot::OpenFile(job.StreamFileName).PageCount(), 2);
    }

    void CancelInTheOutputOptionsOrTheStatusWindowEndsQuietly() {
        ReportJobWindows windows;
        ScriptedPrompter prompter;
        WindowPorts& ports = NewPorts(prompter, report::NoPrinters(), windows);
        ModalScript script(ports);
        report::ReportJob job{ports};
        int pagesDrawn = 0;
        job.OnPrint = [&](report::ReportSurface& surface) {
            for (int page = 1; page <= 30; ++page) {
                ++pagesDrawn;
                if (page == 3) {
                    QCOMPARE(windows.StatusWindow()->windowTitle(), QString::fromStdString(job.TitleStatus));
                    QCOMPARE(windows.StatusWindow()->StatusText->text(), QString("Generating page 3"));
                    QTest::mouseClick(windows.StatusWindow()->BtnCancel, Qt::LeftButton);
                }
                if (page < 30) surface.NewPage();
            }
        };
        QWidget owner;
        RunFromWindow(owner, ports, job);

        script.Then([](QDialog& dialog) { Click(dialog, "BtnCancel"); });
        QVERIFY(!job.Execute());
        QCOMPARE(pagesDrawn, 0);

        job.Setups &= ~report::ReportSetup::ssAllowSetup;
        QVERIFY(!job.Execute());
        QCOMPARE(pagesDrawn, 3);
        QCOMPARE(script.Opened().size(), 1);  // no preview
        QVERIFY(!windows.StatusWindow());
        QCOMPARE(prompter.Messages().size(), std::size_t(0));
    }

    void PrintingFromThePreviewSendsTheChosenPagesToThePrinter() {
        platform::CupsPrinterPort port;
        ScriptedPrompter prompter;
        WindowPorts& ports = NewPorts(prompter, port);
        ModalScript script(ports);
        report::ReportJob job{ports};
        job.TitleSetup = "Form W-3 Setup";
        job.JobTitle = UniqueJobTitle("preview");
        auto window = ShowPreview(ports, job, dir_.filePath("print.ndr"), 4);
        script.Then([](QDialog& dialog) {
            auto& options = dynamic_cast<TFrmOutputOptions&>(dialog);
            QCOMPARE(options.windowTitle(), QString("Form W-3 Setup"));
            QVERIFY(options.RangeGroup->isVisible());
            QVERIFY(!options.RbPreview->isVisible());
            options.PrinterName->setFocus();
            QTest::keyClicks(options.PrinterName, QString::fromStdString(TestPrinter()));
            QCOMPARE(options.PrinterName->currentText(), QString::fromStdString(TestPrinter()));
            QCOMPARE(options.PrinterPort->text(),
                     QString::fromStdString(TestPrinter() + " on cups-pdf:/" + TestPrinter()));
            SetSpin(options.PageFrom, 2);
            SetSpin(options.PageTo, 3);
            QVERIFY(options.RbPages->isChecked());
            QTest::mouseClick(options.BtnOk, Qt::LeftButton);
        });
        Press(*window, Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(prompter.Messages().size(), std::size_t(0));

        const auto pdf = WaitForPrintedPdf(job.JobTitle);
        QVERIFY2(!pdf.empty(), "no PDF arrived from the test printer");
        QCOMPARE(PdfPageCount(pdf), 2);
        const std::string text = PdfText(pdf);
        QVERIFY(text.find("Snapshot page 2") != std::string::npos);
        QVERIFY(text.find("Snapshot page 4") == std::string::npos);
        std::filesystem::remove(pdf);
    }

    // The paper and source a job recorded reach the printer unless another printer is chosen.
    void OutputOptionsKeepThePaperOfTheRecordedSetup() {
        platform::CupsPrinterPort port;
        WindowPorts& ports = NewPorts(SilentPrompter(), port);
        report::ReportJob job{ports};
        for (const bool otherPrinter : {false, true}) {
            report::OutputOptions options;
            options.print = {TestPrinter(), "US Legal", "", report::PageOrientation::Portrait, false, report::DuplexMode::dupSimplex, 2};
            TFrmOutputOptions window(job, options, true, 3, 2);
            UsePorts(window, ports);
            ModalScript script(ports);
            script.Then([&](QDialog&) {
                QVERIFY(window.RbPrinter->isChecked());
                QCOMPARE(window.Copies->value(), 2);
                if (otherPrinter) {
                    window.PrinterName->setFocus();
                    QTest::keyClicks(window.PrinterName, QString::fromStdString(TestTrayPrinter()));
                }
                QTest::mouseClick(window.RbSelection, Qt::LeftButton, {}, QPoint(6, window.RbSelection->height() / 2));
                QTest::mouseClick(window.BtnOk, Qt::LeftButton);
            });
            QCOMPARE(ExecModal(window), int(QDialog::Accepted));
            QCOMPARE(options.print.paper, std::string(otherPrinter ? "" : "US Legal"));
            QCOMPARE(options.print.printer, otherPrinter ? TestTrayPrinter() : TestPrinter());
            QCOMPARE(options.range.first, 2);
            QCOMPARE(options.range.last, 2);
        }
    }

private:
    // Ports for the windows of one test, kept until the test program ends.
    WindowPorts& NewPorts(Prompter& prompter = SilentPrompter(), report::PrinterPort& printer = report::NoPrinters(),
                          report::ReportJobUi& jobUi = report::NoJobWindows()) {
        ports_.push_back(std::make_unique<WindowPorts>(WindowPorts{{{.prompter = prompter}, printer, jobUi}}));
        return *ports_.back();
    }

    std::vector<std::unique_ptr<WindowPorts>> ports_;
    QTemporaryDir dir_;
};

QNVR_TEST_MAIN(TestReportPreview)
#include "tst_report_preview.moc"
