// The About window: its texts, the memory figures of this machine, the web link that
// opens the maker's site and closes the window, and OK by key.
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "core/program/program_setup.h"
#include "core/program/system_memory.h"
#include "support/qnvr_test_main.h"
#include "ui/main/frm_about.h"
#include "ui/base/extruded_label.h"

using namespace qnvr;

class TestAboutWindow : public QObject {
    Q_OBJECT

private:
    std::vector<std::string> opened_;
    std::unique_ptr<TFrmAbout> OpenWindow() {
        auto window = std::make_unique<TFrmAbout>(nullptr, [this](const std::string& url) {
            opened_.push_back(url);
            return true;
        });
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get())) return nullptr;
        return window;
    }

private slots:
    void init() { opened_.clear(); }

    void showsTheProductAndThisMachinesMemory() {
        auto window = OpenWindow();
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QStringLiteral("About QNVR"));
        QCOMPARE(window->size(), QSize(390, 345));
        QCOMPARE(window->LblProductName->text(), QStringLiteral("Quenvora W-2 2026 (64-bit)"));
        QCOMPARE(window->LblProductName->Depth(), 4);
        QCOMPARE(window->LblVersion->text(), QStringLiteral("Version 2026.00"));
        QVERIFY(!window->ProgramIcon->pixmap().isNull());
        QCOMPARE(window->Label3->text(), QStringLiteral("Physical Memory Available to Linux:"));
        QCOMPARE(window->Label4->text(), QStringLiteral("Memory in Use:"));
        QCOMPARE(window->LblLicensedUse->text(),
                 QStringLiteral("License Agreement governs your use of this  Program  and  the  EFW2  Module."));
        const MemoryFigures figures = ReadMemoryFigures();
        QVERIFY(figures.totalKb > 0);
        QCOMPARE(window->PhysMem->text().toStdString(), FormatKilobytes(figures.totalKb));
        QVERIFY(window->PhysMem->text().endsWith(QStringLiteral(" KB")));
        const QString load = window->FreeRes->text();
        QVERIFY2(load.endsWith(QStringLiteral(" %")), qPrintable(load));
        const int percent = load.chopped(2).toInt();
        QVERIFY(percent > 0 && percent <= 100);
        QCOMPARE(window->LblWebSite->cursor().shape(), Qt::PointingHandCursor);
    }

    void theWebLinkOpensTheSiteAndCloses() {
        auto window = OpenWindow();
        QVERIFY(window);
        QLabel* link = window->LblWebSite;
        QTest::mouseClick(link, Qt::LeftButton, {}, link->rect().center());
        QCOMPARE(opened_, std::vector<std::string>{kMakerWebAddress});
        QVERIFY(!window->isVisible());
        QCOMPARE(window->result(), static_cast<int>(QDialog::Accepted));
    }

    void okAndEnterClose() {
        for (int key : {int(Qt::Key_Return), int(Qt::Key_Escape)}) {
            auto window = OpenWindow();
            QVERIFY(window);
            QTest::keyClick(window.get(), static_cast<Qt::Key>(key));
            QVERIFY(!window->isVisible());
        }
        auto window = OpenWindow();
        QVERIFY(window);
        QTest::mouseClick(window->BtnOk, Qt::LeftButton);
        QVERIFY(!window->isVisible());
        QVERIFY(opened_.empty());
    }
};

QNVR_TEST_MAIN(TestAboutWindow)
#include "tst_about_window.moc"
