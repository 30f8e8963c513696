#include "app/seriesactions.h"

#include "app/appcontext.h"
#include "catalogue/artlistlist.h"
#include "catalogue/memberlists.h"
#include "download/threadmanager.h"

namespace zob {

void deleteSeriesPictures(SeriesRec& series, std::optional<Resolution> r) {
    if (r) {
        series.deletePictures(*r);
    } else {
        for (const Resolution each : allResolutions) {
            series.deletePictures(each);
        }
    }
    series.scanLocalFiles();
}

void stopSeriesDownloads(const SeriesRec& series) {
    for (const auto& job : {series.thumbJob, series.pictureJob}) {
        if (job) {
            job->stopJob();
        }
    }
}

void addToFavorites(AppContext& context, const SeriesPtr& series) {
    if (auto* favorites =
            dynamic_cast<FavoriteArtList*>(context.loadedArchives.favoriteList.get())) {
        favorites->addFavorite(series, context.offlineMode, context.fetchEnv());
    }
}

void removeFromFavorites(AppContext& context, const SeriesPtr& series) {
    if (auto* favorites =
            dynamic_cast<FavoriteArtList*>(context.loadedArchives.favoriteList.get())) {
        favorites->removeFavorite(series, context.offlineMode, context.fetchEnv());
    }
}

void addToBadList(AppContext& context, const SeriesPtr& series) {
    if (auto* bad = dynamic_cast<BadArtList*>(context.loadedArchives.badList.get())) {
        bad->addBad(series);
    }
}

void removeFromBadList(AppContext& context, const SeriesPtr& series) {
    if (auto* bad = dynamic_cast<BadArtList*>(context.loadedArchives.badList.get())) {
        bad->removeBad(series);
    }
}

} // namespace zob
