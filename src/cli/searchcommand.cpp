#include "cli/searchcommand.h"

#include "app/searchcommands.h"
#include "app/startupsignin.h"
#include "catalogue/artlistlist.h"
#include "cli/clisession.h"
#include "cli/listcommand.h"
#include "platform/textencoding.h"
#include "search/history.h"

#include <algorithm>
#include <charconv>
#include <iostream>
#include <optional>

namespace zob {

namespace {

struct SearchRequest {
    bool byModel = true;
    std::string seriesName;
    std::int32_t modelIndex = 1;
};

std::optional<std::int32_t> positiveNumber(const std::string& text) {
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value < 1) {
        return std::nullopt;
    }
    return value;
}

std::optional<SearchRequest> parseArguments(const std::vector<std::string>& arguments) {
    SearchRequest request;
    if (arguments.size() < 2) {
        return std::nullopt;
    }
    request.seriesName = arguments[1];
    if (arguments[0] == "model" && arguments.size() <= 3) {
        if (arguments.size() == 3) {
            const std::optional<std::int32_t> k = positiveNumber(arguments[2]);
            if (!k) {
                return std::nullopt;
            }
            request.modelIndex = *k;
        }
        return request;
    }
    if (arguments[0] == "photographer" && arguments.size() == 2) {
        request.byModel = false;
        return request;
    }
    return std::nullopt;
}

// The terminal has no menus, tiles or pointer to change; the splash line
// goes to stderr, where the scan's progress goes too, so stdout carries
// only the list.
class TerminalSearchWindow final : public SearchWindow, public ProgressDisplay {
public:
    void setCrntArchive(const ArtListPtr& list, std::int32_t /*scroll*/) override { shown_ = list; }
    std::int32_t tileScrollPosition() const override { return 0; }
    void setBusyCursor(bool /*busy*/) override {}
    void clearSelection() override {}
    void setListMenusEnabled(bool /*enabled*/) override {}
    void showSplash(const std::string& message) override {
        std::cerr << terminalSafe(message) << '\n';
    }
    void showImagePage() override {}
    void showNotFoundLabel() override {}
    ArtListPtr crntArchive() const override { return shown_; }

    void showProgressText(const std::string& text) override {
        std::cerr << terminalSafe(text) << '\n';
    }

private:
    ArtListPtr shown_;
};

class NoHistoryView final : public HistoryView {
public:
    void setMenuEntries(const std::vector<HistoryMenuEntry>& /*entries*/) override {}
    void setButtons(bool /*backEnabled*/, bool /*forwardEnabled*/) override {}
};

} // namespace

ArtListPtr searchList(CliSession& session, const std::string& seriesName, bool byModel,
                      std::int32_t modelIndex, bool offline, int& status) {
    AppContext& context = session.context();
    const SeriesPtr series = session.seriesNamed(seriesName, status);
    if (!series) {
        return nullptr;
    }
    if (byModel && modelIndex > std::max(1, series->modelCount())) {
        std::cerr << "zob search: " << terminalSafe(series->name) << " has " << series->modelCount()
                  << " model(s)\n";
        status = usageStatus;
        return nullptr;
    }
    TerminalSearchWindow window;
    NoHistoryView historyView;
    historyList history(context.configInfo.historyCount, historyView);
    SearchEnv env{context,
                  session,
                  history,
                  context.searchKeyInfo,
                  window,
                  offline || context.offlineMode,
                  OfflineScanSettings{currentYearMonth, &window, "srchTmp.csv", &context.debugLog}};
    const SearchResult result =
        byModel ? ppSearchModelClick(env, series, modelIndex) : ppSearchPhotoClick(env, series);
    context.loadedArchives.saveAll();
    switch (result.outcome) {
    case SearchOutcome::found:
        return result.list;
    case SearchOutcome::notFound:
        status = notFoundStatus;
        return nullptr;
    case SearchOutcome::abandoned:
        break;
    }
    status = session.closeRequested() ? closedStatus : notFoundStatus;
    return nullptr;
}

int runSearchCommand(const CommandRun& run) {
    const std::optional<SearchRequest> request = parseArguments(run.line.operands);
    if (!request) {
        return run.usageError("model NAME [K] | photographer NAME");
    }
    CliSession session(run);
    int status = 0;
    if (!session.startWithMemberLists(status)) {
        return status;
    }
    const ArtListPtr found = searchList(session, request->seriesName, request->byModel,
                                        request->modelIndex, run.line.options.offline, status);
    if (!found) {
        return status;
    }
    printList(*found, run.out);
    return 0;
}

} // namespace zob
