#include "gui/views/seriespopup.h"

#include "gui/displaytext.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

namespace zob {

namespace {

constexpr int modelPosition = 10;
constexpr int showPosition = 12;

SeriesCommand commandOf(LoadCommand command) {
    switch (command) {
    case LoadCommand::load:
        return SeriesCommand::load;
    case LoadCommand::stopOrDelete:
        return SeriesCommand::stopOrDelete;
    case LoadCommand::resume:
        return SeriesCommand::resume;
    case LoadCommand::remove:
        return SeriesCommand::remove;
    case LoadCommand::none:
        break;
    }
    return SeriesCommand::load;
}

} // namespace

SeriesPopup::SeriesPopup(Handler handler, QWidget* parent)
    : QObject(parent), handler_(std::move(handler)), menu_(new QMenu(parent)) {
    menu_->setObjectName("archivePopup");
    addEntry({}, {}, 0);
    menu_->addSeparator()->setObjectName("N1");
    addEntry("Download Low-Res", "DownloadlowRes1", 0);
    addEntry("Download MidRes", "DownloadMidRes1", 1);
    addEntry("Download Hi-Res", "DownloadHiRes1", 2);
    addEntry("Download Thumb only", "DownloadThumbonly1", 3);
    menu_->addSeparator()->setObjectName("N2");
    addEntry("Add to My Favorite", "ppAddToFavorite", 4);
    addEntry("Add to Bad List", "ppAddToBad", 0);
    menu_->addSeparator()->setObjectName("N3");
    addEntry("Search Same Model Series", "SearchSameModelSeries1", 5);
    addEntry("Search Same Photo Series", "SearchSamePhotoSeries1", 6);
}

QAction* SeriesPopup::addEntry(const QString& caption, const QString& name, int tag) {
    QAction* action = menu_->addAction(caption);
    action->setObjectName(name);
    action->setData(tag);
    return action;
}

QAction* SeriesPopup::entryAt(int position) const {
    const QList<QAction*> actions = menu_->actions();
    return position >= 0 && position < actions.size() ? actions.at(position) : nullptr;
}

void SeriesPopup::setLoadEntry(QAction* action, const LoadMenuEntry& entry) {
    action->setText(toDisplay(entry.caption));
    action->setEnabled(entry.enabled);
    action->disconnect(this);
    if (entry.command != LoadCommand::none) {
        const SeriesCommand command = commandOf(entry.command);
        connect(action, &QAction::triggered, this,
                [this, command, tag = entry.tag] { handler_(command, tag, {}); });
    }
    if (entry.isDefault) {
        menu_->setDefaultAction(action);
    }
}

void SeriesPopup::apply(const SeriesMenu& model) {
    menu_->setDefaultAction(nullptr);

    QAction* open = entryAt(0);
    open->setText(toDisplay(model.openCaption));
    open->setEnabled(model.openEnabled);
    open->disconnect(this);
    connect(open, &QAction::triggered, this, [this] { handler_(SeriesCommand::openUrl, 0, {}); });
    if (model.openDefault) {
        menu_->setDefaultAction(open);
    }
    for (int position = 2; position <= 5; ++position) {
        setLoadEntry(entryAt(position), model.loads.at(static_cast<std::size_t>(position - 2)));
    }

    // A fresh model search entry for this series, in place of the last one.
    QAction* oldModel = entryAt(modelPosition);
    QAction* photo = entryAt(modelPosition + 1);
    QAction* newModel = buildModelSearchItem(model, menu_, handler_);
    menu_->insertAction(photo, newModel);
    menu_->removeAction(oldModel);
    if (QMenu* oldSubmenu = oldModel->menu()) {
        oldSubmenu->deleteLater(); // takes its entry with it
    } else {
        oldModel->deleteLater();
    }
    newModel->setEnabled(model.modelEnabled);

    photo->setText(toDisplay(model.photoCaption));
    photo->setEnabled(model.photoEnabled);
    photo->disconnect(this);
    connect(photo, &QAction::triggered, this,
            [this] { handler_(SeriesCommand::searchPhoto, 6, {}); });

    if (QAction* leftOver = entryAt(showPosition)) {
        menu_->removeAction(leftOver);
        leftOver->deleteLater();
    }
    if (model.showPics) {
        QAction* show = addEntry("Show &pics", "show", 0);
        connect(show, &QAction::triggered, this,
                [this] { handler_(SeriesCommand::showPics, 0, {}); });
        menu_->setDefaultAction(show);
    }

    QAction* favorite = entryAt(7);
    favorite->setText(model.inFavorites ? "Remove from My Favorite" : "Add to My Favorite");
    favorite->disconnect(this);
    const SeriesCommand favoriteCommand =
        model.inFavorites ? SeriesCommand::removeFavorite : SeriesCommand::addFavorite;
    connect(favorite, &QAction::triggered, this,
            [this, favoriteCommand] { handler_(favoriteCommand, 4, {}); });
    QAction* bad = entryAt(8);
    bad->setText(model.inBadList ? "Remove from Bad List" : "Add to Bad List");
    bad->disconnect(this);
    const SeriesCommand badCommand =
        model.inBadList ? SeriesCommand::removeBad : SeriesCommand::addBad;
    connect(bad, &QAction::triggered, this, [this, badCommand] { handler_(badCommand, 0, {}); });
}

QAction* SeriesPopup::buildModelSearchItem(const SeriesMenu& model, QWidget* parent,
                                           const Handler& handler) {
    const auto entry = [&handler](QAction* action, const ModelSearchEntry& search) {
        action->setObjectName(QString::fromStdString(search.name));
        action->setData(5);
        const QString name = QString::fromStdString(search.name);
        QObject::connect(action, &QAction::triggered, action,
                         [handler, name] { handler(SeriesCommand::searchModel, 5, name); });
    };
    if (!model.modelSubmenu) {
        auto* action = new QAction(toDisplay(model.models.front().caption), parent);
        entry(action, model.models.front());
        return action;
    }
    auto* submenu = new QMenu("search same model", parent);
    submenu->setObjectName("srch");
    for (const ModelSearchEntry& search : model.models) {
        entry(submenu->addAction(toDisplay(search.caption)), search);
    }
    submenu->menuAction()->setObjectName("srch");
    return submenu->menuAction();
}

} // namespace zob
