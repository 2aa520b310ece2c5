#include "ui/print/page_view.h"

#include <QPainter>

#include "ui/print/page_painter.h"

namespace qnvr {

TPageView::TPageView(QWidget* parent) : QWidget(parent) { Resize(); }

void TPageView::SetPage(report::Page page) {
    page_ = std::move(page);
    Resize();
    update();
}

void TPageView::SetZoom(int percent) {
    zoom_ = percent;
    Resize();
    update();
}

void TPageView::SetMarginPercent(double percent) {
    marginPercent_ = percent;
    Resize();
}

void TPageView::SetShadowDepth(int pixels) {
    shadowDepth_ = std::max(0, pixels);
    Resize();
}

double TPageView::PixelsPerInch() const { return logicalDpiX() * zoom_ / 100.0; }

// The margin is a share of the sheet's zoomed width, on every side.
QRectF TPageView::SheetRect() const {
    const double width = page_.widthIn * PixelsPerInch();
    const double height = page_.heightIn * PixelsPerInch();
    const double margin = width * marginPercent_ / 100.0;
    return QRectF(margin, margin, width, height);
}

QSize TPageView::sizeHint() const {
    const QRectF sheet = SheetRect();
    return QSize(static_cast<int>(std::ceil(sheet.right() + sheet.left() + shadowDepth_)),
                 static_cast<int>(std::ceil(sheet.bottom() + sheet.top() + shadowDepth_)));
}

void TPageView::Resize() { resize(sizeHint()); }

void TPageView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRectF sheet = SheetRect();
    if (shadowDepth_ > 0) painter.fillRect(sheet.translated(shadowDepth_, shadowDepth_), Qt::darkGray);
    painter.fillRect(sheet, Qt::white);
    painter.setPen(QPen(Qt::black, 0));
    painter.drawRect(sheet);
    painter.translate(sheet.topLeft());
    PaintPage(painter, page_, PixelsPerInch());
}

}  // namespace qnvr
