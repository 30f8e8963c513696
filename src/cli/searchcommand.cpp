#include "cli/searchcommand.h"

#include "catalogue/artlistlist.h"
#include "cli/clisession.h"
#include "cli/listcommand.h"
#include "cli/seriescommands.h"
#include "search/history.h"
#include "search/searchcommands.h"
#include "shell/startupsignin.h"

#include <algorithm>
#include <charconv>
#include <iostream>
#include <optional>

namespace zob {

namespace {

constexpr int usageStatus = 64;
constexpr int notFoundStatus = 2;
constexpr int closedStatus = 3;

struct SearchRequest {
    bool byModel = true;
    std::string seriesName;
    std::int32_t modelIndex = 1;
    bool offline = false;
};

std::optional<std::int32_t> positiveNumber(const std::string& text) {
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value < 1) {
        return std::nullopt;
    }
    return value;
}

std::optional<SearchRequest> parseArguments(std::vector<std::string> arguments) {
    SearchRequest request;
    const auto flag = std::find(arguments.begin(), arguments.end(), "--offline");
    if (flag != arguments.end()) {
        request.offline = true;
        arguments.erase(flag);
    }
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
    void showSplash(const std::string& message) override { std::cerr << message << '\n'; }
    void showImagePage() override {}
    void showNotFoundLabel() override {}
    ArtListPtr crntArchive() const override { return shown_; }

    void showProgressText(const std::string& text) override { std::cerr << text << '\n'; }

private:
    ArtListPtr shown_;
};

class NoHistoryView final : public HistoryView {
public:
    void setMenuEntries(const std::vector<HistoryMenuEntry>& /*entries*/) override {}
    void setButtons(bool /*backEnabled*/, bool /*forwardEnabled*/) override {}
};

} // namespace

int runSearchCommand(const std::vector<std::string>& arguments,
                     const std::filesystem::path& iniPath, TerminalPrompt& prompt,
                     std::ostream& out) {
    const std::optional<SearchRequest> request = parseArguments(arguments);
    if (!request) {
        std::cerr << "zob search: [--offline] model NAME [K] | [--offline] photographer NAME\n";
        return usageStatus;
    }

    CliSession session(iniPath, prompt);
    if (session.start().mode == StartMode::aborted || !session.loadMemberLists()) {
        return closedStatus;
    }
    AppContext& context = session.context();
    const SeriesPtr series = loadSeries(session, request->seriesName);
    if (!series) {
        if (session.closeRequested()) {
            return closedStatus;
        }
        std::cerr << "zob search: no series named " << request->seriesName << '\n';
        return notFoundStatus;
    }
    if (request->byModel && request->modelIndex > std::max(1, series->modelCount())) {
        std::cerr << "zob search: " << series->name << " has " << series->modelCount()
                  << " model(s)\n";
        return usageStatus;
    }

    TerminalSearchWindow window;
    NoHistoryView historyView;
    historyList history(context.configInfo.historyCount, historyView);
    SearchEnv env{context,
                  session,
                  history,
                  context.searchKeyInfo,
                  window,
                  request->offline || context.offlineMode,
                  OfflineScanSettings{currentYearMonth, &window, "srchTmp.csv", &context.debugLog}};
    const SearchResult result = request->byModel
                                    ? ppSearchModelClick(env, series, request->modelIndex)
                                    : ppSearchPhotoClick(env, series);
    context.loadedArchives.saveAll();

    switch (result.outcome) {
    case SearchOutcome::found:
        printList(*result.list, out);
        return 0;
    case SearchOutcome::notFound:
        return notFoundStatus;
    case SearchOutcome::abandoned:
        break;
    }
    return session.closeRequested() ? closedStatus : notFoundStatus;
}

} // namespace zob
