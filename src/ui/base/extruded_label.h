#pragma once
// TExtrudedLabel: a caption drawn over a grey shadow extruded down and to the right by
// a number of pixels, as the product name on the About window.
#include <QLabel>

namespace qnvr {

class TExtrudedLabel final : public QLabel {
    Q_OBJECT
public:
    TExtrudedLabel(const QString& text, int depth, QWidget* parent = nullptr);
    int Depth() const { return depth_; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int depth_;
};

}  // namespace qnvr
