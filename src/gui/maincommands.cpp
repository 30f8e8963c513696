// Menu and tool-bar commands of the window, and what the views ask of it.

#include "app/appcontext.h"
#include "catalogue/artlistlist.h"
#include "gui/dialogs/configdialog.h"
#include "gui/displaytext.h"
#include "gui/views/imageform.h"
#include "gui/zobrowsermain.h"

#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabWidget>

namespace zob {

Resolution TZoBrowserMain::crntResolution() const {
    // Any other stored number is downloaded at low resolution.
    return resolutionNumbered(storedResolution_).value_or(resLow);
}

void TZoBrowserMain::mResClick(QAction& entry) {
    entry.setChecked(true);
    if (&entry == mResHigh) {
        storedResolution_ = 0;
    } else if (&entry == mResMiddle) {
        storedResolution_ = 1;
    } else if (&entry == mResLow) {
        storedResolution_ = 2;
    } else if (&entry == mResThumb) {
        storedResolution_ = 3;
    }
}

void TZoBrowserMain::configBtnClick() {
    if (configForm_ != nullptr) {
        environment_.runModal(*configForm_);
    }
    // Whatever closed the dialog, its offline box acted at once. Going back
    // online is the mode label's business.
    if (context_.configInfo.offline) {
        goOffline();
    }
}

void TZoBrowserMain::ImageBtnClick() {
    if (imageForm_ == nullptr) {
        return;
    }
    if (imageForm_->isVisible()) {
        imageForm_->hide();
        mSideView->setChecked(false);
        return;
    }
    imageForm_->move(frameGeometry().left() - imageForm_->frameGeometry().width() - 5,
                     frameGeometry().top());
    imageForm_->show();
    mSideView->setChecked(true);
}

void TZoBrowserMain::dbgBtnClick() {
    QWidget* page = mainTab->currentWidget();
    if (dbgMemo->parentWidget() != page) {
        dbgMemo->setParent(page);
    }
    dbgMemo->setVisible(!dbgMemo->isVisible());
    layoutViews();
    dbgMemo->raise();
}

void TZoBrowserMain::dbgSaveBtnClick() {
    context_.debugLog.saveTo("dbg.log");
}

// --- what the views ask

FetchEnv TZoBrowserMain::fetchEnv() {
    return context_.fetchEnv();
}

const configInfoClass& TZoBrowserMain::config() const {
    return context_.configInfo;
}

UserPrompt& TZoBrowserMain::prompt() {
    return context_.prompt;
}

bool TZoBrowserMain::sideViewerVisible() const {
    return imageForm_ != nullptr && imageForm_->isVisible();
}

void TZoBrowserMain::showInSideViewer(const std::string& file) {
    if (imageForm_ != nullptr) {
        imageForm_->setImage(file);
    }
}

void TZoBrowserMain::tileSelected(const SeriesPtr& series) {
    commandTarget_ = series;
    mCopy->setEnabled(true);
    listView->selectSeriesRow(*series);
    listView->showSmallCover(*series);
    const ArtListList& registry = context_.loadedArchives;
    const bool favorite = registry.favoriteList && registry.favoriteList->indexOfName(*series) >= 0;
    const bool bad = registry.badList && registry.badList->indexOfName(*series) >= 0;
    replaceOptionModelEntry(series);
    mSearchSamePhoto->setEnabled(true);
    mSearchSamePhoto->setText(toDisplay("Search photographer:" + series->photographer));
    mAddToFavorite->setEnabled(true);
    mAddToFavorite->setText(favorite ? "Remove from My Favorite" : "Add to My Favorite");
    mAddToBad->setEnabled(true);
    mAddToBad->setText(bad ? "Remove from Bad List" : "Add to Bad List");
}

void TZoBrowserMain::tileDeselected() {
    mSearchSameModel->setEnabled(false);
    mSearchSamePhoto->setEnabled(false);
    mAddToFavorite->setEnabled(false);
    mAddToBad->setEnabled(false);
}

void TZoBrowserMain::selectTileFromGrid(std::size_t index) {
    imageView->selectFromGrid(index);
}

void TZoBrowserMain::showContentsPage() {
    mainTab->setCurrentWidget(contentsView);
}

void TZoBrowserMain::thumbSelected() {
    mCopy->setEnabled(true);
}

void TZoBrowserMain::replaceOptionModelEntry(const SeriesPtr& series) {
    // The Option menu's tenth entry is made anew for the selected series.
    const SeriesMenu model = buildSeriesMenu(
        seriesMenuInput(*series, crntResolution(), context_.offlineMode, offlineSearch_));
    QAction* fresh = SeriesPopup::buildModelSearchItem(
        model, mOption, [this](SeriesCommand command, int tag, const QString& name) {
            seriesCommand(command, tag, name);
        });
    mOption->insertAction(mSearchSameModel, fresh);
    mOption->removeAction(mSearchSameModel);
    if (QMenu* submenu = mSearchSameModel->menu()) {
        submenu->deleteLater();
    } else {
        mSearchSameModel->deleteLater();
    }
    mSearchSameModel = fresh;
    mSearchSameModel->setEnabled(true);
}

} // namespace zob
