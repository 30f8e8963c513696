#pragma once

#include "app/seriesmenu.h"

#include <QObject>
#include <QString>
#include <functional>

class QAction;
class QMenu;
class QWidget;

namespace zob {

// What a series menu entry asks the window to do.
enum class SeriesCommand {
    openUrl,
    load,
    stopOrDelete,
    resume,
    remove,
    addFavorite,
    removeFavorite,
    addBad,
    removeBad,
    searchModel,
    searchPhoto,
    showPics,
};

// The series menu (`archivePopup`) over tiles and grid rows. Its entries keep
// their positions; each opening rewrites them for one series.
class SeriesPopup : public QObject {
public:
    // `tag` selects the resolution of download entries; `entryName` names
    // the model of a model search ("srch2").
    using Handler = std::function<void(SeriesCommand, int tag, const QString& entryName)>;

    SeriesPopup(Handler handler, QWidget* parent);

    QMenu* menu() const { return menu_; }
    // buildSeriesPopup's part that draws: captions, commands, enabled and
    // default entries, the model search entry and "Show &pics".
    void apply(const SeriesMenu& model);
    // The entry at a menu position (0..12), or null.
    QAction* entryAt(int position) const;

    // The "search same model" entry for a series: one entry "srch1", or a
    // submenu "srch" holding "srch1".."srchN".
    static QAction* buildModelSearchItem(const SeriesMenu& model, QWidget* parent,
                                         const Handler& handler);

private:
    QAction* addEntry(const QString& caption, const QString& name, int tag);
    void setLoadEntry(QAction* action, const LoadMenuEntry& entry);

    Handler handler_;
    QMenu* menu_ = nullptr;
};

} // namespace zob
