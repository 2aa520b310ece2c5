#include "ui/base/drawn_icon.h"

#include <QPainter>
#include <QPixmap>

namespace qnvr {

QIcon DrawnIcon(int size, const std::function<void(QPainter&)>& draw) {
    QIcon icon;
    for (int scale : {1, 2}) {
        QPixmap pixmap(size * scale, size * scale);
        pixmap.setDevicePixelRatio(scale);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        draw(painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace qnvr
