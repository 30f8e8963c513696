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
enum class PageStep { show, earlierMonth, giveUp, cancelled };

// A list page as the site sent it, scanned into series blocks.
struct FetchedPage {
    fetchResult result = fetchFailed;
    std::vector<ParsedSeries> series;
};

// The request of `list`, worked out where the lists live: a search's address
// may depend on the search index.
struct PageRequest {
    bool post = false;
    std::string address;
    std::string form;
};

PageRequest requestOf(const ArtList& list) {
    if (list.requestKind == 1) {
        return {false, list.requestUrl(), {}};
    }
    return {true, list.pageUrl(), formEncodedField(list.query())};
}

// Touches nothing but its arguments: it may run on a worker.
FetchedPage fetchAndScan(const FetchEnv& env, const PageRequest& request, HttpClient* client,
                         DebugLog& log) {
    FetchedPage fetched;
    std::string page;
    MemorySink sink(page);
    fetched.result = request.post
                         ? postHtml(env, request.address, request.form, sink, false, client)
                         : getHtml(env, request.address, sink, false, client);
    log.dbgLog("getHtml=>" + std::to_string(static_cast<int>(fetched.result)), true);
    if (fetched.result == fetchOk) {
        fetched.series = scanPageSeries(page);
    }
    return fetched;
}

// In place, or through the context's page worker with a client of its own,
// which a cancel stops (the context's client may be in use meanwhile).
FetchedPage fetchPage(AppContext& context, const ArtList& list) {
    const PageRequest request = requestOf(list);
    if (!context.runPageWork) {
        return fetchAndScan(context.fetchEnv(), request, nullptr, context.debugLog);
    }
    HttpClient pageHttp;
    pageHttp.setRequestSettings(context.defaultHttp.requestSettings());
    pageHttp.setAbortFlag(&context.pageLoadCancel);
    const FetchEnv env = context.fetchEnv();
    FetchedPage fetched;
    context.runPageWork([&] { fetched = fetchAndScan(env, request, &pageHttp, context.debugLog); });
    return fetched;
}

// Fetches the page of `list` and merges the series it names into the list.
PageStep refreshFromSite(AppContext& context, ArtList& list, ArchiveLoaderHost& host) {
    FetchedPage fetched = fetchPage(context, list);
    if (context.pageLoadCancel) {
        return PageStep::cancelled;
    }
    switch (fetched.result) {
    case fetchOk: {
        const ArtListPtr parsed = list.cloneEmpty();
        tellSkipped(context, list, parsed->takeParsed(std::move(fetched.series)));
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
    context.pageLoadCancel = false;
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
        if (step == PageStep::giveUp || step == PageStep::cancelled) {
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
