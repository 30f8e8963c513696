#pragma once

#include "catalogue/resolution.h"
#include "catalogue/seriesrec.h"
#include "gui/views/seriespopup.h"

#include <QObject>
#include <QPoint>
#include <QString>
#include <vector>

class QMenu;

namespace zob {

struct MainParts;

// What the user does to one series: open it, and the commands of its menu,
// of the Option menu and of Edit > Copy. The menus act on the series chosen
// last, the command target.
class SeriesController : public QObject {
    Q_OBJECT
public:
    explicit SeriesController(MainParts& parts);

    // The contents page shows the series and its downloads start (a movie
    // opens its page in the browser instead).
    void openSeries(const SeriesPtr& series, Resolution resolution);

    // --- the series menu
    void buildSeriesPopup(const SeriesPtr& series);
    void popupSeriesMenu(const SeriesPtr& series, QPoint globalPos);
    QMenu* archivePopup() const;
    const SeriesPtr& commandTarget() const { return commandTarget_; }
    void seriesCommand(SeriesCommand command, int tag, const QString& entryName);

    // --- the selection
    // A tile became the selection: the list view and the Option menu follow.
    void tileSelected(const SeriesPtr& series);
    // The Option menu's entries: add when absent, remove when present.
    void toggleFavorite();
    void toggleBad();
    // Edit > Copy: the selected tile's page or the selected picture's page.
    void copySelection() const;

    // --- what the downloads' ends ask
    // The series' tile, its hint and its row show its state again.
    void refreshSeriesViews(const SeriesRec& series) const;
    // Stop and Delete: the files go once the stopped downloads have ended.
    void deletePendingPictures(const SeriesRec& series);

private:
    void showSeriesContents(const SeriesPtr& series, Resolution resolution);
    void openUrlOf(const SeriesPtr& series) const;
    void stopOrDelete(Resolution resolution);
    void deletePictures(Resolution resolution);
    void addFavorite();
    void removeFavorite();
    void addBad();
    void removeBad();
    bool hasFavoritesList() const;
    bool hasBadList() const;
    // The Archive menu's entry and the views follow the favorites.
    void favoritesChanged(const SeriesRec& series);
    // The same, and the Option menu follows the selected tile's marks.
    void refreshSeriesMarks(const SeriesRec& series);

    MainParts& parts_;
    SeriesPopup* popup_;
    SeriesPtr commandTarget_;
    struct PendingDelete {
        SeriesPtr series;
        Resolution resolution = resHigh;
    };
    std::vector<PendingDelete> pendingDeletes_;
};

} // namespace zob
