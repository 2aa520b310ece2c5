#include "ui/base/extruded_label.h"

#include <QPainter>

namespace qnvr {

TExtrudedLabel::TExtrudedLabel(const QString& text, int depth, QWidget* parent) : QLabel(text, parent), depth_(depth) {}

QSize TExtrudedLabel::sizeHint() const { return QLabel::sizeHint() + QSize(depth_, depth_); }

void TExtrudedLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font());
    const QRect area = contentsRect().adjusted(0, 0, -depth_, -depth_);
    painter.setPen(QColor(128, 128, 128));
    for (int step = depth_; step >= 1; --step) painter.drawText(area.translated(step, step), alignment(), text());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(area, alignment(), text());
}

}  // namespace qnvr
