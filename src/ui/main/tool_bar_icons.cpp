#include "ui/main/tool_bar_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStandardPaths>

#include "ui/base/drawn_icon.h"

namespace qnvr {
namespace {

constexpr int kSize = 24;  // drawn on a 24 by 24 grid, as the theme's tool bar icons are

const QColor kInk(52, 60, 68);
const QColor kPaper(250, 250, 248);
const QColor kBlue(52, 101, 164);
const QColor kGreen(78, 154, 6);
const QColor kFolder(237, 212, 0);
const QColor kGrey(136, 138, 133);

// A sheet of paper with a folded corner.
void Page(QPainter& p) {
    QPainterPath sheet;
    sheet.moveTo(5.5, 2.5);
    sheet.lineTo(14.5, 2.5);
    sheet.lineTo(19.5, 7.5);
    sheet.lineTo(19.5, 21.5);
    sheet.lineTo(5.5, 21.5);
    sheet.closeSubpath();
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    p.drawPath(sheet);
    p.drawPolyline(QPolygonF({QPointF(14.5, 2.5), QPointF(14.5, 7.5), QPointF(19.5, 7.5)}));
}

void Lines(QPainter& p, int count) {
    p.setPen(QPen(kGrey, 1));
    for (int i = 0; i < count; ++i) p.drawLine(QPointF(8, 10.5 + 2.5 * i), QPointF(17, 10.5 + 2.5 * i));
}

void Plus(QPainter& p, QPointF centre) {
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    p.drawRect(QRectF(centre.x() - 1.5, centre.y() - 4.5, 3, 9));
    p.drawRect(QRectF(centre.x() - 4.5, centre.y() - 1.5, 9, 3));
}

void Floppy(QPainter& p) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(kBlue);
    p.drawRoundedRect(QRectF(3.5, 3.5, 17, 17), 1.5, 1.5);
    p.setBrush(kPaper);
    p.drawRect(QRectF(6.5, 3.5, 11, 7));
    p.setBrush(QColor(211, 215, 207));
    p.drawRect(QRectF(7.5, 14.5, 9, 6));
}

void Drive(QPainter& p) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(211, 215, 207));
    p.drawRoundedRect(QRectF(2.5, 8.5, 19, 10), 2, 2);
    p.setBrush(kGreen);
    p.drawEllipse(QRectF(16, 12, 3, 3));
    p.setPen(QPen(kGrey, 1));
    p.drawLine(QPointF(5, 15.5), QPointF(12, 15.5));
}

void Revert(QPainter& p) {
    p.setPen(QPen(kBlue, 2.5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(5, 5, 14, 14), 90 * 16, 270 * 16);  // three quarters of a turn
    QPainterPath head;
    head.moveTo(12, 1.5);
    head.lineTo(17, 5);
    head.lineTo(12, 8.5);
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.fillPath(head, kBlue);
}

void Grid(QPainter& p) {
    p.setPen(QPen(kGreen, 1));
    for (int i = 0; i < 4; ++i) p.drawLine(QPointF(8, 10.5 + 3 * i), QPointF(17, 10.5 + 3 * i));
    p.drawLine(QPointF(11.5, 10), QPointF(11.5, 19.5));
}

void Help(QPainter& p) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(kBlue);
    p.drawEllipse(QRectF(2.5, 2.5, 19, 19));
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(15);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(2.5, 2.5, 19, 19), Qt::AlignCenter, QStringLiteral("?"));
}

using Drawing = void (*)(QPainter&);
struct Picture {
    const char* name;
    Drawing draw;
};
const Picture kPictures[] = {
    {"document-new", [](QPainter& p) { Page(p); Plus(p, QPointF(17, 17)); }},
    {"document-open",
     [](QPainter& p) {
         p.setPen(QPen(kInk, 1));
         p.setBrush(kFolder.darker(115));
         p.drawRect(QRectF(2.5, 5.5, 8, 3));
         p.drawRect(QRectF(2.5, 7.5, 19, 13));
         p.setBrush(kFolder);
         QPainterPath flap;
         flap.moveTo(5.5, 11.5);
         flap.lineTo(22.5, 11.5);
         flap.lineTo(20.5, 20.5);
         flap.lineTo(2.5, 20.5);
         flap.closeSubpath();
         p.drawPath(flap);
     }},
    {"document-save-as", [](QPainter& p) { Floppy(p); }},
    {"drive-harddisk", [](QPainter& p) { Drive(p); }},
    {"document-revert", [](QPainter& p) { Revert(p); }},
    {"x-office-document", [](QPainter& p) { Page(p); Lines(p, 4); }},
    {"x-office-spreadsheet", [](QPainter& p) { Page(p); Grid(p); }},
    {"help-browser", [](QPainter& p) { Help(p); }},
};

}  // namespace

QIcon DrawnToolBarIcon(const QString& themeName) {
    for (const Picture& picture : kPictures) {
        if (themeName == QLatin1String(picture.name)) return DrawnIcon(kSize, picture.draw);
    }
    return {};
}

QIcon ToolBarIcon(const QString& themeName) {
    // The desktop's theme is looked up in the system's icon folders too, and a desktop
    // that names no theme gets the common one.
    static const bool themeReady = [] {
        QStringList paths = QIcon::themeSearchPaths();
        for (const QString& folder : QStandardPaths::locateAll(QStandardPaths::GenericDataLocation,
                                                                QStringLiteral("icons"), QStandardPaths::LocateDirectory))
            if (!paths.contains(folder)) paths << folder;
        QIcon::setThemeSearchPaths(paths);
        if (QIcon::themeName().isEmpty()) QIcon::setThemeName(QStringLiteral("Adwaita"));
        const QString fallback = QIcon::fallbackThemeName();
        if (fallback.isEmpty() || fallback == QLatin1String("hicolor"))
            QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
        return true;
    }();
    (void)themeReady;
    // A theme entry that cannot be drawn here (an SVG without the SVG image plugin) is no
    // icon either.
    const QIcon themed = QIcon::fromTheme(themeName);
    if (!themed.isNull() && !themed.pixmap(kSize, kSize).isNull()) return themed;
    return DrawnToolBarIcon(themeName);
}

}  // namespace qnvr
