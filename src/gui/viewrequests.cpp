#include "gui/viewrequests.h"

#include "app/appcontext.h"
#include "gui/mainmenus.h"
#include "gui/mainparts.h"
#include "gui/navigator.h"
#include "gui/seriescontroller.h"

#include <QTabWidget>
#include <QUrl>

namespace zob {

ArtListPtr ViewRequests::crntArchive() const {
    return parts_.navigator->crntArchive();
}

bool ViewRequests::offlineMode() const {
    return parts_.context.offlineMode;
}

FetchEnv ViewRequests::fetchEnv() {
    return parts_.context.fetchEnv();
}

const configInfoClass& ViewRequests::config() const {
    return parts_.context.configInfo;
}

bool ViewRequests::sideViewerVisible() const {
    return parts_.sideViewerVisible();
}

void ViewRequests::showInSideViewer(const std::string& file) {
    parts_.showInSideViewer(file);
}

void ViewRequests::openSeriesAtCurrentResolution(const SeriesPtr& series) {
    parts_.series->openSeries(series, parts_.menus->resolution());
}

void ViewRequests::popupSeriesMenu(const SeriesPtr& series, QPoint globalPos) {
    parts_.series->popupSeriesMenu(series, globalPos);
}

UserPrompt& ViewRequests::prompt() {
    return parts_.context.prompt;
}

void ViewRequests::tileSelected(const SeriesPtr& series) {
    parts_.series->tileSelected(series);
}

void ViewRequests::tileDeselected() {
    parts_.menus->hideSeriesEntries();
}

void ViewRequests::selectTileFromGrid(std::size_t index) {
    parts_.imageView->selectFromGrid(index);
}

void ViewRequests::showContentsPage() {
    parts_.tabs->setCurrentWidget(parts_.contentsView);
}

Resolution ViewRequests::crntResolution() const {
    return parts_.menus->resolution();
}

void ViewRequests::thumbSelected() {
    parts_.menus->setCopyEnabled(true);
}

void ViewRequests::openPicture(const std::string& file) {
    parts_.showInSideViewer(file);
    parts_.menus->showSideView();
}

void ViewRequests::viewPictures(const SeriesPtr& series, int pictureNumber) {
    parts_.viewPictures(series, crntResolution(), pictureNumber);
}

void ViewRequests::openUrl(const std::string& address) {
    parts_.environment.openUrl(QUrl(QString::fromStdString(address)));
}

void ViewRequests::openFolder(const std::string& folder) {
    parts_.environment.openUrl(QUrl::fromLocalFile(QString::fromStdString(folder)));
}

} // namespace zob
