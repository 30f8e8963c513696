#pragma once

#include "catalogue/resolution.h"
#include "catalogue/seriesrec.h"
#include "gui/views/picturedecoder.h"

#include <QImage>
#include <QPointF>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <memory>
#include <string>

namespace zob {

// A window to look through a series picture by picture: fitted to the window
// or at any scale, in a window or on the whole screen, by hand or as a
// slideshow. A picture not on disk yet shows its thumbnail with a note, and is
// shown as soon as it arrives.
class PictureViewer : public QWidget {
    Q_OBJECT
public:
    // Enough for the picture on screen at full size (a 24-megapixel picture
    // takes 96 MB) and its fitted neighbours.
    static constexpr std::size_t memoryBudget = 192u << 20;

    explicit PictureViewer(QWidget* parent = nullptr);
    ~PictureViewer() override;

    // Shows picture `pictureNumber` (from 1) of `series` at `resolution`.
    void showPictures(SeriesPtr series, Resolution resolution, int pictureNumber);
    // A picture of a series reached the disk.
    void pictureArrived(const SeriesRec& series, int pictureNumber);
    void setSlideshowInterval(std::chrono::milliseconds interval);

    // --- moving through the series
    void goTo(int pictureNumber);
    void next() { goTo(number_ + 1); }
    void previous() { goTo(number_ - 1); }
    void toggleSlideshow();
    void toggleFullScreen();

    // --- the scale
    void fitToWindow();
    void showActualSize(QPointF anchor);
    // Steps of 1.25 in (positive) or out, keeping the point under `anchor`.
    void zoomBy(int steps, QPointF anchor);

    const SeriesPtr& series() const { return series_; }
    int pictureNumber() const { return number_; }
    int pictureCount() const { return count_; }
    bool fitted() const { return fitted_; }
    double scale() const;
    // The picture is not on disk: its thumbnail (or nothing) stands in.
    bool showsStandIn() const { return standIn_; }
    bool slideshowRunning() const { return slideshow_.isActive(); }
    // The picture as drawn last, at the size it was decoded at.
    const QImage& shownImage() const { return image_; }
    // True while the picture asked for last is still being decoded.
    bool decoding() const { return pending_; }
    // True while the neighbours of the picture are still being decoded.
    bool decodingAhead() const { return !decoder_->idle(); }
    std::size_t heldBytes() const { return decoder_->heldBytes(); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    std::string fileOf(int pictureNumber, Resolution resolution) const;
    // The last picture number: the site's count, or the last file on disk
    // while the count is not known.
    int countPictures() const;
    // What shows picture `pictureNumber` fitted to the window: the picture, or
    // its thumbnail when the picture is not on disk.
    PictureDecoder::Request fittedRequest(int pictureNumber) const;
    void showCurrent();
    void received(const PictureDecoder::Result& result);
    void wantNeighbours(PictureDecoder::Request current);
    void updateTitle();
    void clickedAt(QPointF position);
    bool draggable() const;

    std::unique_ptr<PictureDecoder> decoder_;
    SeriesPtr series_;
    Resolution resolution_ = resHigh;
    int number_ = 0;
    int count_ = 0;
    // What is asked of the decoder for the current picture, and what shows.
    PictureDecoder::Request asked_;
    QImage image_;
    QSize natural_;
    bool standIn_ = false;
    bool pending_ = false;
    bool fitted_ = true;
    double scale_ = 1.0;
    QPointF offset_;
    // The drag in progress: where it began and the offset then.
    QPointF pressAt_;
    QPointF pressOffset_;
    bool pressed_ = false;
    bool dragged_ = false;
    int pendingWheel_ = 0;
    QTimer slideshow_;
};

} // namespace zob
