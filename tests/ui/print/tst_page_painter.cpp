// The preview's page painter draws a page's artwork from a picture recorded once per
// resolution. The page must look exactly as when every operation is painted in turn:
// both are painted into images at several zooms and resolutions and compared pixel
// for pixel, repaints (the picture replayed) included.
#include <QImage>
#include <QPainter>
#include <QTest>

#include "report/report_project.h"
#include "report/surface.h"
#include "support/qnvr_test_main.h"
#include "ui/print/page_painter.h"

namespace qnvr {

class TestPagePainter : public QObject {
    Q_OBJECT

    // Two filled pages of each of two designs.
    static std::vector<report::Page> FilledPages() {
        report::ReportProject project;
        project.SetProjectFile(qEnvironmentVariable("QNVR_PROGRAM_DIR").toStdString() + "W2TXFR26.json");
        project.Open();
        report::SnapshotWriter writer = report::SnapshotWriter::ToMemory();
        {
            report::ReportSurface surface(writer, nullptr);
            bool first = true;
            for (const char* design : {"FormW2", "FormW3"}) {
                project.SelectReport(design);
                for (const char* prefix : {"", "2"}) {
                    if (!first) surface.NewPage();
                    first = false;
                    for (const std::string& name : project.ParameterNames()) project.SetParam(name, prefix + name);
                    project.ExecuteOn(surface);
                }
            }
            surface.Finish();
        }
        const report::PageSnapshot snapshot = writer.Open();
        std::vector<report::Page> pages;
        for (int n = 1; n <= snapshot.PageCount(); ++n) pages.push_back(snapshot.ReadPage(n));
        return pages;
    }

    static QImage Painted(const report::Page& page, double ppi, int dpi) {
        QImage image(int(page.widthIn * ppi), int(page.heightIn * ppi), QImage::Format_RGB32);
        image.setDotsPerMeterX(int(dpi / 0.0254 + 0.5));
        image.setDotsPerMeterY(int(dpi / 0.0254 + 0.5));
        image.fill(Qt::white);
        QPainter painter(&image);
        PaintPage(painter, page, ppi);
        return image;
    }

private slots:
    void ArtworkFromThePictureLooksAsPaintedInFull() {
        const std::vector<report::Page> pages = FilledPages();
        QCOMPARE(pages.size(), std::size_t(4));
        for (const report::Page& page : pages) QVERIFY(page.artwork);
        struct Case {
            double ppi;
            int dpi;
        };
        for (const Case c : {Case{96, 96}, Case{48, 96}, Case{144, 96}, Case{150, 150}}) {
            for (int round = 0; round < 2; ++round) {  // the second paints from the recorded pictures
                for (std::size_t i = 0; i < pages.size(); ++i) {
                    const QImage shared = Painted(pages[i], c.ppi, c.dpi);
                    const QImage full = Painted(report::Flattened(pages[i]), c.ppi, c.dpi);
                    QVERIFY2(shared == full, qPrintable(QString("page %1 at %2 ppi, %3 dpi, round %4")
                                                             .arg(i + 1).arg(c.ppi).arg(c.dpi).arg(round)));
                }
            }
        }
    }
};

}  // namespace qnvr

QNVR_TEST_MAIN(qnvr::TestPagePainter)
#include "tst_page_painter.moc"
