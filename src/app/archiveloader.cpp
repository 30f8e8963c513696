#include "app/archiveloader.h"

#include "app/appcontext.h"
#include "catalogue/artlistlist.h"
#include "catalogue/monthlyartlist.h"
#include "site/fetch.h"
#include "site/fetchsink.h"
#include "site/formencoding.h"

namespace zob {

namespace {

// A fresh list for the month before `list`'s; the original is left as it is,
// since it may be the registered instance.
ArtListPtr previousMonthOf(const monthlyArtList& list) {
    auto previous = std::make_shared<monthlyArtList>(list.registry(), list.year, list.month);
    previous->prevMonth();
    return previous;
}

// The series blocks of a page the program could not take, told once per page.
void tellSkipped(AppContext& context, const ArtList& list,
                 const std::vector<std::string>& skipped) {
    if (skipped.empty()) {
        return;
    }
    std::string text = list.caption() + ": " + std::to_string(skipped.size()) +
                       (skipped.size() == 1 ? " series was" : " series were") +
                       " left out of the list:";
    for (const std::string& reason : skipped) {
        text += "\r\n" + reason;
    }
    context.prompt.showMessage("warning", text);
}

// What the loader does with a list after asking the site for its page.
enum class PageStep { show, earlierMonth, giveUp };

fetchResult fetchListPage(AppContext& context, const ArtList& list, std::string& page) {
    MemorySink sink(page);
    const fetchResult result = list.requestKind == 1
                                   ? getHtml(context.fetchEnv(), list.requestUrl(), sink, false)
                                   : postHtml(context.fetchEnv(), list.pageUrl(),
                                              formEncodedField(list.query()), sink, false);
    context.dbgLog("getHtml=>" + std::to_string(static_cast<int>(result)), true);
    return result;
}

// Fetches the page of `list` and merges the series it names into the list.
PageStep refreshFromSite(AppContext& context, ArtList& list, ArchiveLoaderHost& host) {
    std::string page;
    switch (fetchListPage(context, list, page)) {
    case fetchOk: {
        const ArtListPtr parsed = list.cloneEmpty();
        tellSkipped(context, list, parsed->parsePage(page));
        list.mergeFrom(*parsed);
        return PageStep::show;
    }
    case fetchUnauthorized:
        context.prompt.showMessage(
            "fatal error",
            "ID/Password will not be correct.(expired?)\rprogram terminates abnormally");
        host.closeMainWindow();
        return PageStep::giveUp;
    case fetchNotFound:
        if (!list.empty()) {
            return PageStep::show;
        }
        if (dynamic_cast<const monthlyArtList*>(&list) != nullptr && list.hasPrevious()) {
            return PageStep::earlierMonth;
        }
        context.prompt.showMessage("", "Sorry. cannot download this archive.\r\n" + list.caption() +
                                           ": " + list.requestUrl() + " is not on the site");
        return PageStep::giveUp;
    case fetchFailed:
    case fetchTerminate:
        host.closeMainWindow();
        return PageStep::giveUp;
    case fetchGoOffline:
        context.offlineMode = true;
        host.setOfflineSearch(true);
        return PageStep::show;
    case fetchProtocolError:
        return PageStep::show;
    }
    return PageStep::show;
}

} // namespace

ArtListPtr addLoadedArchive(AppContext& context, ArtListPtr list, ArchiveLoaderHost& host) {
    ArtListList& registry = context.loadedArchives;
    host.clearViewsForLoad();
    context.dbgLog("addLoadedArchive", true);

    // Walking back to earlier months is a loop, not a recursion: offline it
    // may pass through every month down to 2002.
    for (;;) {
        if (const int same = registry.indexOfSame(*list); same >= 0) {
            list = registry.list(static_cast<std::size_t>(same));
        }
        list->load();
        const auto* monthly = dynamic_cast<const monthlyArtList*>(list.get());

        PageStep step = PageStep::show;
        if (!context.offlineMode && list->isIncomplete()) {
            step = refreshFromSite(context, *list, host);
        } else if (monthly != nullptr && list->empty() && monthly->year >= firstSiteYear) {
            step = PageStep::earlierMonth;
        }
        if (step == PageStep::giveUp) {
            return nullptr;
        }
        if (step == PageStep::earlierMonth) {
            list = previousMonthOf(*monthly);
            continue;
        }
        registry.registerList(list);
        return list;
    }
}

} // namespace zob
