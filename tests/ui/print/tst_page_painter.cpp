// The preview's page painter draws a page's artwork from an image painted once per
// resolution. The page must look as when every operation is painted in turn: both are
// painted at several zooms, resolutions and offsets and compared pixel for pixel,
// repaints (from the cache) included.
#include <QImage>
#include <QPointF>

#include <algorithm>
#include <QPainter>
#include <QTest>

#include "report/report_project.h"
#include "report/snapshot.h"
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

    // The page painted as the page view paints it: onto white, from an offset that need
    // not be a whole pixel.
    static QImage Painted(const report::Page& page, double ppi, int dpi, QPointF offset) {
        QImage image(int(page.widthIn * ppi) + 16, int(page.heightIn * ppi) + 16, QImage::Format_RGB32);
        image.setDotsPerMeterX(int(dpi / 0.0254 + 0.5));
        image.setDotsPerMeterY(int(dpi / 0.0254 + 0.5));
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.translate(offset);
        PaintPage(painter, page, ppi);
        return image;
    }

    // The largest difference of any colour channel of any pixel.
    static int LargestDifference(const QImage& a, const QImage& b) {
        int largest = 0;
        for (int y = 0; y < a.height(); ++y) {
            const QRgb* p = reinterpret_cast<const QRgb*>(a.constScanLine(y));
            const QRgb* q = reinterpret_cast<const QRgb*>(b.constScanLine(y));
            for (int x = 0; x < a.width(); ++x) {
                largest = std::max({largest, std::abs(qRed(p[x]) - qRed(q[x])), std::abs(qGreen(p[x]) - qGreen(q[x])),
                                    std::abs(qBlue(p[x]) - qBlue(q[x]))});
            }
        }
        return largest;
    }

private slots:
    // The artwork comes from an image painted once; laid over white it matches painting
    // in full but for the rounding of the blend (one level of 255 at most, measured on
    // about 0.5 % of the pixels).
    void ArtworkFromTheCacheLooksAsPaintedInFull() {
        const std::vector<report::Page> pages = FilledPages();
        QCOMPARE(pages.size(), std::size_t(4));
        for (const report::Page& page : pages) QVERIFY(page.artwork);
        struct Case {
            double ppi;
            int dpi;
            QPointF offset;
        };
        for (const Case c : {Case{96, 96, {8, 8}}, Case{48, 96, {0, 0}}, Case{144, 96, {12.4, 7.75}}, Case{150, 150, {3, 5.5}}}) {
            for (int round = 0; round < 2; ++round) {  // the second paints from the cached images
                for (std::size_t i = 0; i < pages.size(); ++i) {
                    const QImage cached = Painted(pages[i], c.ppi, c.dpi, c.offset);
                    const QImage full = Painted(report::Flattened(pages[i]), c.ppi, c.dpi, c.offset);
                    QVERIFY2(LargestDifference(cached, full) <= 1,
                             qPrintable(QString("page %1 at %2 ppi, %3 dpi, offset %4,%5, round %6")
                                            .arg(i + 1).arg(c.ppi).arg(c.dpi).arg(c.offset.x()).arg(c.offset.y()).arg(round)));
                }
            }
        }
    }
};

}  // namespace qnvr

QNVR_TEST_MAIN(qnvr::TestPagePainter)
#include "tst_page_painter.moc"
