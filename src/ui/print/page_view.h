#pragma once
// The preview's page view: one page of a snapshot on a sheet of white, at a zoom in
// percent, with a margin around it and an optional shadow. It sizes itself to the
// zoomed page so that the scroll box around it scrolls over the whole sheet.
#include <QWidget>

#include "report/page.h"

namespace qnvr {

class TPageView final : public QWidget {
    Q_OBJECT
public:
    explicit TPageView(QWidget* parent = nullptr);

    void SetPage(report::Page page);
    const report::Page& Page() const { return page_; }

    void SetZoom(int percent);
    int Zoom() const { return zoom_; }
    void SetMarginPercent(double percent);
    void SetShadowDepth(int pixels);

    // Screen pixels of one inch of paper at the current zoom.
    double PixelsPerInch() const;
    // Where the sheet lies in the view.
    QRectF SheetRect() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Resize();

    report::Page page_;
    int zoom_ = 100;
    double marginPercent_ = 2.5;
    int shadowDepth_ = 0;
};

}  // namespace qnvr
