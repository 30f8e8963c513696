#include "gui/views/logotile.h"

#include "gui/views/jpegimage.h"
#include "gui/views/namedbitmaps.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <algorithm>
#include <array>

namespace zob {
namespace {

constexpr int markSize = 18;
constexpr int boxLeft = 10;
constexpr QRgb letterColour = 0xFFCC0000; // dark red (204, 0, 0)
// Room left free at each side of a placeholder's title, inside the card's border.
constexpr int titleMargin = 4;

struct ChannelSums {
    long long blue = 0;
    long long green = 0;
    long long red = 0;
};

// Colour sums over rows top .. bottom and columns left .. right, inclusive,
// as far as they lie inside the image.
ChannelSums sumArea(const QImage& image, int top, int bottom, int left, int right) {
    ChannelSums sums;
    const int firstColumn = std::max(left, 0);
    const int lastColumn = std::min(right, image.width() - 1);
    for (int y = std::max(top, 0); y <= std::min(bottom, image.height() - 1); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = firstColumn; x <= lastColumn; ++x) {
            sums.blue += qBlue(row[x]);
            sums.green += qGreen(row[x]);
            sums.red += qRed(row[x]);
        }
    }
    return sums;
}

int lighten(int value, int amount) {
    return std::min(value + amount, 255);
}

QFont letterFont() {
    QFont font = QGuiApplication::font();
    font.setPointSize(14);
    font.setBold(true);
    return font;
}

QImage withCentredTitle(std::string_view bitmap, const QString& title, int top) {
    QImage image = namedBitmap(bitmap).copy();
    QPainter painter(&image);
    const QFontMetrics metrics(painter.font(), &image);
    // A long title is cut at its end with an ellipsis, so what shows is its
    // beginning, whole letters and inside the card.
    const QString shown =
        metrics.elidedText(title, Qt::ElideRight, image.width() - 2 * titleMargin);
    const int x = (image.width() - metrics.horizontalAdvance(shown)) / 2;
    painter.setPen(Qt::black);
    painter.drawText(QPoint(x, top + metrics.ascent()), shown);
    painter.end();
    return image;
}

} // namespace

StatusMarks splitStatusCode(std::string_view code) {
    StatusMarks marks;
    for (const char c : code) {
        if (c == '-') {
            continue;
        }
        if (c == 'F' || c == 'B') {
            (c == 'F' ? marks.favorite : marks.bad) = true;
            marks.markWidth += markSize;
        } else {
            marks.letters += QLatin1Char(c);
        }
    }
    return marks;
}

int brightenFactor(int row) {
    // Soft top and bottom edges for a box of the usual line height; rows past
    // the table (a taller font) get the full lift.
    constexpr std::array<int, 25> factors = {1, 3, 5, 6, 7, 8, 8, 8, 8, 8, 8, 8, 8,
                                             8, 8, 8, 8, 8, 8, 8, 7, 6, 5, 3, 1};
    return row >= 0 && row < static_cast<int>(factors.size())
               ? factors[static_cast<std::size_t>(row)]
               : 8;
}

BrightenSteps chooseBrightenSteps(int blue, int green, int red) {
    if (2 * green > red && 2 * blue > red) {
        return {8, 8, 8};
    }
    // A reddish area: lifting red would wash out the letters, so lift only
    // the weak channels, the weaker the more.
    BrightenSteps steps;
    steps.red = 0;
    steps.blue = 2 * blue < red ? (red - blue) / 8 : 8;
    steps.green = 2 * green < red ? (red - green) / 8 : 8;
    steps.blue = std::max(steps.blue, 8);
    steps.green = std::max(steps.green, 8);
    return steps;
}

void brightenBox(QImage& image, int top, int lineHeight, int left, int boxWidth,
                 BrightenSteps steps) {
    const int firstColumn = std::max(left, 0);
    const int lastColumn = std::min(left + boxWidth, image.width() - 1);
    for (int i = 0; i <= lineHeight + 10; ++i) {
        const int y = top + i;
        if (y < 0 || y >= image.height()) {
            continue;
        }
        const int factor = brightenFactor(i);
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = firstColumn; x <= lastColumn; ++x) {
            const QRgb pixel = row[x];
            row[x] = qRgb(lighten(qRed(pixel), steps.red * factor),
                          lighten(qGreen(pixel), steps.green * factor),
                          lighten(qBlue(pixel), steps.blue * factor));
        }
    }
}

void drawMark(QImage& target, int x, int y, std::string_view mark, std::string_view mask) {
    const QImage& markImage = namedBitmap(mark);
    const QImage& maskImage = namedBitmap(mask);
    for (int row = std::max(0, -y); row < markSize && y + row < target.height(); ++row) {
        auto* destination = reinterpret_cast<QRgb*>(target.scanLine(y + row));
        const auto* markRow = reinterpret_cast<const QRgb*>(markImage.constScanLine(row));
        const auto* maskRow = reinterpret_cast<const QRgb*>(maskImage.constScanLine(row));
        for (int column = std::max(0, -x); column < markSize && x + column < target.width();
             ++column) {
            destination[x + column] = (destination[x + column] & maskRow[column]) | markRow[column];
        }
    }
}

QImage buildLogoTile(const std::string& coverFile, std::string_view statusCode) {
    QImage image = loadJpegImage(coverFile);
    const StatusMarks marks = splitStatusCode(statusCode);
    if (marks.letters.isEmpty() && marks.markWidth == 0) {
        return image;
    }
    if (image.format() != QImage::Format_RGB32) {
        image.convertTo(QImage::Format_RGB32);
    }

    const QFont font = letterFont();
    const QFontMetrics metrics(font, &image);
    const int letterWidth = metrics.horizontalAdvance(marks.letters);
    const int boxWidth = letterWidth + marks.markWidth;
    const int lineHeight = metrics.height();
    const int height = image.height();
    const int boxTop = height - lineHeight - 12;

    // The area holds line height + 8 rows, yet the sums are divided by a
    // fixed 22 rows, the area of the usual 14-row line (see brightenFactor),
    // so that the lift of a reddish area grows with the letters: a taller
    // font reads as a brighter area and its bigger letters get a stronger lift.
    const ChannelSums sums = sumArea(image, boxTop, height - 5, boxLeft, boxLeft + boxWidth);
    const long long cells = static_cast<long long>(boxWidth) * 22;
    const BrightenSteps steps = chooseBrightenSteps(static_cast<int>(sums.blue / cells),
                                                    static_cast<int>(sums.green / cells),
                                                    static_cast<int>(sums.red / cells));
    brightenBox(image, boxTop, lineHeight, boxLeft, boxWidth, steps);

    const int textTop = height - lineHeight - 6;
    if (!marks.letters.isEmpty()) {
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(QColor::fromRgb(letterColour));
        painter.drawText(QPoint(boxLeft, textTop + metrics.ascent()), marks.letters);
    }
    int markX = boxLeft + letterWidth + 2;
    const int markY = textTop + (lineHeight - markSize) / 2;
    if (marks.favorite) {
        drawMark(image, markX, markY, "FAVORITE", "FAVORITE_MASK");
        markX += 20;
    }
    if (marks.bad) {
        drawMark(image, markX, markY, "BADMARK", "BADMARK_MASK");
    }
    return image;
}

QImage noLogoImage(const QString& title) {
    return withCentredTitle("NOIMG_ARCHIVE", title, 120);
}

QImage noSeriesImage(const QString& title) {
    return withCentredTitle("NOIMG_SERIES", title, 110);
}

} // namespace zob
