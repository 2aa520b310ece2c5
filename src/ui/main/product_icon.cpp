#include "ui/main/product_icon.h"

#include <QFont>
#include <QPainter>

#include "ui/base/cyan_dusk.h"

namespace qnvr {

QPixmap ProductPixmap(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal margin = size / 16.0;
    const QRectF sheet(margin, margin, size - 2 * margin, size - 2 * margin);
    painter.setPen(QPen(QColor(0x0D, 0x1A, 0x1F), size / 32.0));
    painter.setBrush(CyanDuskPanelColor());
    painter.drawRoundedRect(sheet, size / 8.0, size / 8.0);
    painter.setPen(QPen(QColor(0xB2, 0xEB, 0xF2), size / 40.0));
    for (int line = 1; line <= 3; ++line) {  // the boxes of a form
        const qreal y = sheet.top() + sheet.height() * (0.55 + line * 0.1);
        painter.drawLine(QPointF(sheet.left() + margin * 2, y), QPointF(sheet.right() - margin * 2, y));
    }
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(qMax(6, size * 3 / 10));
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(sheet.left(), sheet.top(), sheet.width(), sheet.height() * 0.6), Qt::AlignCenter,
                     QStringLiteral("W-2"));
    return pixmap;
}

QIcon ProductIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128}) icon.addPixmap(ProductPixmap(size));
    return icon;
}

}  // namespace qnvr
