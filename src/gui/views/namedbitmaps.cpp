#include "gui/views/namedbitmaps.h"

#include <QPainter>
#include <QPainterPath>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>

namespace zob {
namespace {

constexpr int markSize = 18;

// A soft grey card with a framed landscape in its upper part; the callers
// write a title below the picture.
QImage placeholder(int width, int height, QRect frame) {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient background(0, 0, 0, height);
    background.setColorAt(0, QColor(236, 236, 238));
    background.setColorAt(1, QColor(214, 215, 218));
    painter.fillRect(image.rect(), background);
    painter.setPen(QColor(188, 189, 194));
    painter.drawRect(QRectF(0.5, 0.5, width - 1, height - 1));

    painter.setPen(QPen(QColor(150, 152, 158), 2));
    painter.setBrush(QColor(246, 246, 248));
    painter.drawRoundedRect(frame, 3, 3);
    const QRect inner = frame.adjusted(6, 6, -6, -6);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(190, 192, 198));
    painter.drawEllipse(
        QPointF(inner.right() - inner.width() / 4.0, inner.top() + inner.height() / 4.0),
        inner.width() / 9.0, inner.width() / 9.0);
    QPainterPath hills;
    hills.moveTo(inner.left(), inner.bottom() + 1);
    hills.lineTo(inner.left() + inner.width() * 0.35, inner.top() + inner.height() * 0.40);
    hills.lineTo(inner.left() + inner.width() * 0.55, inner.top() + inner.height() * 0.70);
    hills.lineTo(inner.left() + inner.width() * 0.72, inner.top() + inner.height() * 0.55);
    hills.lineTo(inner.right() + 1, inner.bottom() + 1);
    hills.closeSubpath();
    painter.setBrush(QColor(166, 169, 176));
    painter.drawPath(hills);
    painter.end();
    return image;
}

// A mark and its mask from one drawing. Partly covered pixels are decided by
// a threshold: the AND-then-OR copy cannot blend, and a half-dark fringe
// would look dirty on a light background.
struct MarkPair {
    QImage mark;
    QImage mask;
};

MarkPair markPair(const std::function<void(QPainter&)>& draw) {
    QImage drawing(markSize, markSize, QImage::Format_ARGB32);
    drawing.fill(Qt::transparent);
    {
        QPainter painter(&drawing);
        painter.setRenderHint(QPainter::Antialiasing);
        draw(painter);
    }
    MarkPair pair{QImage(markSize, markSize, QImage::Format_RGB32),
                  QImage(markSize, markSize, QImage::Format_RGB32)};
    for (int y = 0; y < markSize; ++y) {
        const auto* source = reinterpret_cast<const QRgb*>(drawing.constScanLine(y));
        auto* mark = reinterpret_cast<QRgb*>(pair.mark.scanLine(y));
        auto* mask = reinterpret_cast<QRgb*>(pair.mask.scanLine(y));
        for (int x = 0; x < markSize; ++x) {
            const bool opaque = qAlpha(source[x]) >= 128;
            // Unpremultiplied colour, so a fringe pixel keeps the shape's colour.
            const QColor colour = QColor::fromRgba(source[x]);
            mark[x] = opaque ? qRgb(colour.red(), colour.green(), colour.blue()) : qRgb(0, 0, 0);
            mask[x] = opaque ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
        }
    }
    return pair;
}

MarkPair favoriteMark() {
    return markPair([](QPainter& painter) {
        QPainterPath heart;
        heart.moveTo(9, 16.5);
        heart.cubicTo(2, 11.5, 0.5, 8, 1.5, 5);
        heart.cubicTo(2.5, 1.5, 7, 0.5, 9, 4.5);
        heart.cubicTo(11, 0.5, 15.5, 1.5, 16.5, 5);
        heart.cubicTo(17.5, 8, 16, 11.5, 9, 16.5);
        painter.setPen(QPen(QColor(120, 0, 16), 1.2));
        painter.setBrush(QColor(226, 24, 48));
        painter.drawPath(heart);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(250, 140, 150));
        painter.drawEllipse(QPointF(5.2, 5.4), 1.4, 1.4);
    });
}

MarkPair badMark() {
    return markPair([](QPainter& painter) {
        painter.setPen(QPen(QColor(20, 20, 20), 1));
        painter.setBrush(QColor(52, 52, 56));
        painter.drawEllipse(QRectF(0.5, 0.5, 17, 17));
        painter.setPen(QPen(QColor(245, 245, 245), 2.4, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(5.5, 5.5), QPointF(12.5, 12.5));
        painter.drawLine(QPointF(12.5, 5.5), QPointF(5.5, 12.5));
    });
}

// A neutral edge in front of the load-status bars: a light bevel with four
// notches where the bars begin.
QImage statusEdge() {
    QImage image(8, 20, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(image.rect(), QColor(226, 226, 228));
    painter.fillRect(QRect(0, 0, 8, 1), QColor(246, 246, 248));
    painter.fillRect(QRect(6, 0, 1, 20), QColor(170, 171, 176));
    painter.fillRect(QRect(7, 0, 1, 20), QColor(120, 121, 126));
    for (int row = 0; row < 4; ++row) {
        painter.fillRect(QRect(2, 2 + row * 5, 3, 2), QColor(140, 142, 148));
    }
    painter.end();
    return image;
}

std::map<std::string, QImage, std::less<>> drawAll() {
    std::map<std::string, QImage, std::less<>> bitmaps;
    bitmaps["NOIMG_ARCHIVE"] = placeholder(113, 170, QRect(22, 28, 69, 66));
    bitmaps["NOIMG_SERIES"] = placeholder(130, 130, QRect(36, 16, 58, 50));
    MarkPair favorite = favoriteMark();
    bitmaps["FAVORITE"] = std::move(favorite.mark);
    bitmaps["FAVORITE_MASK"] = std::move(favorite.mask);
    MarkPair bad = badMark();
    bitmaps["BADMARK"] = std::move(bad.mark);
    bitmaps["BADMARK_MASK"] = std::move(bad.mask);
    bitmaps["STAT_IMG"] = statusEdge();
    return bitmaps;
}

} // namespace

const QImage& namedBitmap(std::string_view name) {
    static const std::map<std::string, QImage, std::less<>> bitmaps = drawAll();
    const auto found = bitmaps.find(name);
    if (found == bitmaps.end()) {
        throw std::out_of_range("no bitmap named " + std::string(name));
    }
    return found->second;
}

} // namespace zob
