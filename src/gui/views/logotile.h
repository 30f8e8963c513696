#pragma once

// A cover tile: the series' small cover with its download state written on the
// lower left corner as letters on a lightened box, followed by the favorite
// and bad-list marks; or a placeholder with the title when there is no cover.

#include <QImage>
#include <QString>
#include <string>
#include <string_view>

namespace zob {

// What a status code asks to be written: "-" is skipped, "F" and "B" are the
// marks (18 pixels each), anything else is a letter.
struct StatusMarks {
    QString letters;
    bool favorite = false;
    bool bad = false;
    int markWidth = 0;
};
StatusMarks splitStatusCode(std::string_view code);

// How strongly row `row` of the lightened box is lightened, in steps; the
// first and last rows fade in and out.
int brightenFactor(int row);

struct BrightenSteps {
    int red = 0;
    int green = 0;
    int blue = 0;
};
// Steps for a box whose average colour is blue, green, red: an even grey lift,
// except on a reddish area, where red is left alone so the dark red letters
// keep their contrast.
BrightenSteps chooseBrightenSteps(int blue, int green, int red);

// Lightens rows top .. top + lineHeight + 10 and columns left .. left +
// boxWidth (both ends included) of a Format_RGB32 image by step x
// brightenFactor(row) per channel, saturating at 255. Parts outside the image
// are skipped.
void brightenBox(QImage& image, int top, int lineHeight, int left, int boxWidth,
                 BrightenSteps steps);

// Copies the named 18 x 18 mask onto target at (x, y) with AND, then the named
// mark with OR: the mark shows where the mask is black, the target elsewhere.
// The target is Format_RGB32; the mark is clipped to it.
void drawMark(QImage& target, int x, int y, std::string_view mark, std::string_view mask);

// The composed tile, the cover's size. Throws JpegError for a cover that
// cannot be decoded.
QImage buildLogoTile(const std::string& coverFile, std::string_view statusCode);

// The placeholders for a missing cover (113 x 170) and a missing thumbnail
// (130 x 130), with the title centred below the picture.
QImage noLogoImage(const QString& title);
QImage noSeriesImage(const QString& title);

} // namespace zob
