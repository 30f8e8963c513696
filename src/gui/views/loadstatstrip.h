#pragma once

// The load-status strips: while a series downloads, a 133 x 20 strip under its
// cover tile shows four bars, one per resolution, growing with the pictures on
// disk. The strips live in the tile wall's scrolled contents, above the tiles.

#include "catalogue/artlist.h"
#include "catalogue/seriesrec.h"

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <cstddef>
#include <cstdint>
#include <vector>

class QPaintEvent;
class QScrollArea;

namespace zob {

// Bar length in pixels for `count` pictures of `series`: 0 for a movie
// (photoCount 0), `count` itself while the count is unknown (999), else
// count * 133 / photoCount. A full bar reaches past the strip and is cut.
int statBarLength(const SeriesRec& series, std::int32_t count);

// One strip: paints its own picture, which keeps what earlier paintings drew.
class TLoadStatImage : public QWidget {
    Q_OBJECT
public:
    static constexpr int stripWidth = 133;
    static constexpr int stripHeight = 20;

    // Starts hidden, silver, with the bars of the series' current counts.
    TLoadStatImage(SeriesPtr series, QWidget* parent);

    const SeriesPtr& series() const { return series_; }
    // Draws the edge and the four bars from the series' loadedCount over what
    // is there: counts only grow while a series downloads.
    void paintLoadStat();
    const QImage& image() const { return image_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    SeriesPtr series_;
    QImage image_;
};

// The main window's strips, in creation order. The window's loading list reads
// the strips' series through seriesOfStrips(), so this object never moves.
class LoadStatStrips {
public:
    // `tileBox` is the tile wall's box; strips become children of its widget.
    explicit LoadStatStrips(QScrollArea& tileBox);
    ~LoadStatStrips();
    LoadStatStrips(const LoadStatStrips&) = delete;
    LoadStatStrips& operator=(const LoadStatStrips&) = delete;

    // Recounts the series' files on disk and shows a new strip under tile
    // `index`.
    void create(const SeriesPtr& series, int index);
    // Under tile `index`: across the whole cell, over the cover's bottom 10
    // pixels and the 10 below it; shown and raised above the tiles.
    void placeLoadStat(TLoadStatImage& strip, int index) const;
    // Repaints the first strip of the series from the counts the workers keep;
    // nothing when it has none.
    void updateLoadStat(const SeriesRec& series);
    // Frees the first strip of the series; nothing when it has none.
    void removeLoadStat(const SeriesRec& series);
    // Strips whose series is in `current` go under its tile; the others hide.
    // A null list hides every strip.
    void placeLoadStats(const ArtList* current);
    void hideLoadStats();

    std::size_t size() const { return strips_.size(); }
    TLoadStatImage* strip(std::size_t i) const { return strips_.at(i); }
    // The strips' series in order, always at the same address.
    const std::vector<SeriesPtr>& seriesOfStrips() const { return series_; }

private:
    // Index of the first strip of the series, or size() when none.
    std::size_t findStrip(const SeriesRec& series) const;

    QScrollArea& tileBox_;
    // The tile wall may go first and take its children with it.
    std::vector<QPointer<TLoadStatImage>> strips_;
    std::vector<SeriesPtr> series_;
};

} // namespace zob
