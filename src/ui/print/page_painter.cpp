#include "ui/print/page_painter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QImage>
#include <QTransform>

#include <cmath>
#include <list>
#include <memory>

#include "core/text/cp1252.h"
#include "report/fonts.h"

namespace qnvr {
namespace {

// Faces with the metrics of Arial first; the width correction below covers the rest.
const QStringList kSansFamilies = {"Liberation Sans", "Arial", "Helvetica", "Nimbus Sans", "DejaVu Sans"};

// device: the one whose resolution the painting ends up at (not a picture recording it).
QFont ScreenFont(const report::FontFace& face, double sizePt, double pixelsPerInch, const QPaintDevice* device) {
    QFont font;
    font.setFamilies(kSansFamilies);
    font.setBold(face.base == report::StandardFont::HelveticaBold);
    // Qt turns points into pixels at the device's resolution; we want pixelsPerInch.
    const double deviceDpi = device && device->logicalDpiY() > 0 ? device->logicalDpiY() : 96.0;
    font.setPointSizeF(std::max(0.01, sizePt * pixelsPerInch / deviceDpi));
    return font;
}

// The text as every renderer prints it: characters outside Windows-1252 become "?".
QString PrintableText(const std::string& utf8) { return QString::fromStdString(Cp1252ToUtf8(Utf8ToCp1252(utf8))); }

void PaintText(QPainter& painter, const report::TextOp& op, double ppi, const QPaintDevice* device) {
    if (op.text.empty()) return;
    const report::FontFace face = report::ResolveFont(op.family);
    const QFont font = ScreenFont(face, op.sizePt, ppi, device);
    const QString text = PrintableText(op.text);

    const double width = report::TextWidthIn(op.family, op.sizePt, op.text) * ppi;
    double left = op.x * ppi;
    if (op.align == report::TextAlign::Center) left -= width / 2;
    if (op.align == report::TextAlign::Right) left -= width;
    const double drawn = QFontMetricsF(font, device).horizontalAdvance(text);

    painter.save();
    painter.translate(left, op.y * ppi);
    if (drawn > 0 && width > 0) painter.scale(width / drawn, 1.0);
    if (face.outlined) {
        QPainterPath path;
        path.addText(0, 0, font, text);
        painter.strokePath(path, QPen(Qt::black, std::max(0.5, op.sizePt / 40 * ppi / 72)));
    } else {
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QPointF(0, 0), text);
    }
    painter.restore();
}

// A line width in points as a pen: below one pixel, the thinnest line the screen shows.
QPen PenOf(double widthPt, double ppi) {
    const double pixels = widthPt * ppi / report::kPointsPerInch;
    QPen pen(Qt::black, pixels < 1 ? 0 : pixels);
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

void PaintLine(QPainter& painter, const report::LineOp& op, double ppi) {
    painter.setPen(PenOf(op.widthPt, ppi));
    painter.drawLine(QPointF(op.x1 * ppi, op.y1 * ppi), QPointF(op.x2 * ppi, op.y2 * ppi));
}

void PaintRect(QPainter& painter, const report::RectOp& op, double ppi) {
    const QRectF rect(op.x * ppi, op.y * ppi, op.w * ppi, op.h * ppi);
    painter.setPen(op.lineWidthPt > 0 ? PenOf(op.lineWidthPt, ppi) : QPen(Qt::NoPen));
    painter.setBrush(op.fillGray >= 0 ? QBrush(QColor::fromRgbF(op.fillGray, op.fillGray, op.fillGray)) : QBrush(Qt::NoBrush));
    if (op.cornerW > 0 && op.cornerH > 0) {
        painter.drawRoundedRect(rect, op.cornerW / 2 * ppi, op.cornerH / 2 * ppi);
    } else {
        painter.drawRect(rect);
    }
}

void PaintOps(QPainter& painter, const std::vector<report::DrawOp>& ops, double ppi, bool includeScreenOnly,
              const QPaintDevice* device) {
    for (const report::DrawOp& op : ops) {
        if (op.screenOnly && !includeScreenOnly) continue;
        std::visit(
            [&](const auto& shape) {
                using Shape = std::decay_t<decltype(shape)>;
                if constexpr (std::is_same_v<Shape, report::TextOp>) PaintText(painter, shape, ppi, device);
                else if constexpr (std::is_same_v<Shape, report::LineOp>) PaintLine(painter, shape, ppi);
                else PaintRect(painter, shape, ppi);
            },
            op.shape);
    }
}

// The artworks of the pages shown lately, each painted once into an image at one
// resolution and sub-pixel offset: turning the pages of a job, or repainting one, then
// draws the image instead of laying out the artwork's captions again. The image is
// painted exactly as the page would be (same fonts through the target's resolution,
// same offset within the pixel), so what shows is what painting in full shows. A few
// entries: a preview shows one job (one or two designs) at one zoom at a time.
class ArtworkImages {
public:
    // Paints the artwork onto painter, from the cache when the painter only translates
    // by whole or fractional pixels on a plain (not high-density) device; else in full.
    void Paint(QPainter& painter, const std::shared_ptr<const report::Artwork>& artwork, double ppi,
               bool includeScreenOnly, const report::Page& page) {
        const QPaintDevice* device = painter.device();
        const QTransform transform = painter.worldTransform();
        const double pixels = page.widthIn * ppi * page.heightIn * ppi;
        if (!device || device->devicePixelRatioF() != 1.0 || transform.type() > QTransform::TxTranslate ||
            pixels * 4 > kMaxImageBytes) {
            PaintOps(painter, artwork->ops, ppi, includeScreenOnly, device);
            return;
        }
        const double whole = std::floor(transform.dx()), wholeY = std::floor(transform.dy());
        const Key key{artwork.get(), ppi, includeScreenOnly, device->logicalDpiX(), device->logicalDpiY(),
                      transform.dx() - whole, transform.dy() - wholeY, page.widthIn, page.heightIn};
        const QImage& image = ImageOf(key, artwork, device);
        painter.save();
        painter.setWorldTransform(QTransform::fromTranslate(whole, wholeY));
        painter.drawImage(QPointF(0, 0), image);
        painter.restore();
    }

private:
    static constexpr std::size_t kEntries = 3;
    static constexpr double kMaxImageBytes = 64.0 * 1024 * 1024;
    struct Key {
        const report::Artwork* artwork;
        double ppi;
        bool includeScreenOnly;
        int dpiX, dpiY;
        double fractionX, fractionY;
        double widthIn, heightIn;
        bool operator==(const Key&) const = default;
    };
    struct Entry {
        Key key;
        std::shared_ptr<const report::Artwork> artwork;  // kept alive: its address is in the key
        QImage image;
    };

    const QImage& ImageOf(const Key& key, const std::shared_ptr<const report::Artwork>& artwork, const QPaintDevice* device) {
        for (auto it = entries_.begin(); it != entries_.end(); ++it) {
            if (it->key == key) {
                entries_.splice(entries_.begin(), entries_, it);
                return entries_.front().image;
            }
        }
        if (entries_.size() >= kEntries) entries_.pop_back();
        QImage image(static_cast<int>(std::ceil(key.widthIn * key.ppi)) + 2,
                     static_cast<int>(std::ceil(key.heightIn * key.ppi)) + 2, QImage::Format_ARGB32_Premultiplied);
        // Fonts are sized through the resolution of the device shown on.
        image.setDotsPerMeterX(static_cast<int>(std::lround(key.dpiX / 0.0254)));
        image.setDotsPerMeterY(static_cast<int>(std::lround(key.dpiY / 0.0254)));
        image.fill(Qt::transparent);
        {
            QPainter recorder(&image);
            recorder.translate(key.fractionX, key.fractionY);
            recorder.setRenderHint(QPainter::Antialiasing);
            recorder.setRenderHint(QPainter::TextAntialiasing);
            PaintOps(recorder, artwork->ops, key.ppi, key.includeScreenOnly, device);
        }
        entries_.push_front(Entry{key, artwork, std::move(image)});
        return entries_.front().image;
    }

    std::list<Entry> entries_;
};

}  // namespace

void PaintPage(QPainter& painter, const report::Page& page, double pixelsPerInch, bool includeScreenOnly) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    if (page.artwork) {
        static ArtworkImages images;  // windows paint on the one GUI thread
        images.Paint(painter, page.artwork, pixelsPerInch, includeScreenOnly, page);
    }
    PaintOps(painter, page.ops, pixelsPerInch, includeScreenOnly, painter.device());
    painter.restore();
}

}  // namespace qnvr
