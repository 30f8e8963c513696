#include "cli/commandline.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string_view>

namespace zob {

namespace {

struct CommandSpec {
    std::string_view name;
    bool offline; // takes --offline
    bool month;   // takes --month
    std::string_view summary;
    std::string_view usage;
};

constexpr std::array<CommandSpec, 9> commands{{
    {"check", false, false, "decide online or offline and test the sign-in",
     "usage: zob check\n"
     "  Decides online or offline as the browser does and tests the sign-in.\n"
     "  Prints MODE<TAB>RESULT (MODE: online, offline or aborted).\n"},
    {"list", true, false, "load a list (a month, favorites, ...) and print it",
     "usage: zob list [--offline] month YYYY/MM | archive N | favorites | bad | bestof\n"
     "       zob list downloaded | stopped | notloaded\n"
     "  Loads a list as the browser does (site and local catalogue) and prints it:\n"
     "  '# caption', then one line per series with name, date, title, model,\n"
     "  photographer, specs and status, separated by tabs. The site has months\n"
     "  from 2003/01 to this month; archive pages are numbered from 1.\n"
     "  downloaded, stopped and notloaded gather the series of every month's\n"
     "  local catalogue whose pictures are complete, half-done or absent.\n"},
    {"download", true, true, "download a series' thumbnails and pictures",
     "usage: zob download [--offline] [--month YYYY/MM] NAME [high|mid|low|thumb]\n"
     "       zob download --list favorites | bestof | month YYYY/MM [R]\n"
     "       zob download --list search-model NAME | search-photographer NAME [R]\n"
     "  Opens a series as the browser does: fetches its covers, then its\n"
     "  thumbnails and the pictures of the resolution (default: the resolution\n"
     "  setting). Progress on stderr; the first Ctrl-C lets the pictures in hand\n"
     "  finish (for up to 5 s), a second one stops at once. A movie prints its\n"
     "  address. Last line: NAME<TAB>STATUS<TAB>PHOTOS, with the number of\n"
     "  pictures still missing. Exit 4 when any picture is missing.\n"
     "  With --list, every series of the list not complete at R goes to the\n"
     "  download queue (LOCAL/00index/queue.csv), which then runs: two series at\n"
     "  a time (setting parallelSeries), one line per series as it ends. Ctrl-C\n"
     "  leaves the rest queued for the next run; search-model and\n"
     "  search-photographer search by the series NAME's model or photographer.\n"},
    {"queue", false, false, "print the download queue or empty it",
     "usage: zob queue [clear]\n"
     "  Prints the download queue, one line per series: NAME<TAB>RESOLUTION<TAB>\n"
     "  STATE (waiting, running, done or failed); clear empties it.\n"},
    {"search", true, true, "find the series of a series' model or photographer",
     "usage: zob search [--offline] [--month YYYY/MM] model NAME [K]\n"
     "       zob search [--offline] [--month YYYY/MM] photographer NAME\n"
     "  Finds every series of the K-th model (from 1, default 1) or of the\n"
     "  photographer of the series NAME and prints them like list. With\n"
     "  --offline, or in offline mode, the local catalogues are scanned instead\n"
     "  of asking the site. Exit 2 when none were found.\n"},
    {"fav", true, true, "add a series to the favorites or remove it",
     "usage: zob fav [--month YYYY/MM] add|remove NAME\n"
     "  Adds the series to or removes it from the favorites (on the site too when\n"
     "  online). Prints NAME<TAB>STATUS.\n"},
    {"bad", true, true, "add a series to the bad list or remove it",
     "usage: zob bad [--month YYYY/MM] add|remove NAME\n"
     "  The same for the bad list, which is kept on disk only.\n"},
    {"delete", true, true, "delete a series' pictures of one resolution or all",
     "usage: zob delete [--month YYYY/MM] NAME high|mid|low|thumb|all\n"
     "  Deletes the series' pictures of one resolution, or of all four.\n"
     "  Prints NAME<TAB>STATUS.\n"},
    {"help", false, false, "show how to use zob or one of its commands",
     "usage: zob help [COMMAND]\n"
     "  Shows how to use zob, or one of its commands.\n"},
}};

const CommandSpec* specOf(std::string_view name) {
    const auto found = std::find_if(commands.begin(), commands.end(),
                                    [name](const CommandSpec& spec) { return spec.name == name; });
    return found == commands.end() ? nullptr : &*found;
}

std::optional<YearMonth> yearMonthOf(std::string_view text) {
    YearMonth value;
    if (text.size() != 7 || text[4] != '/') {
        return std::nullopt;
    }
    const auto year = std::from_chars(text.data(), text.data() + 4, value.year);
    const auto month = std::from_chars(text.data() + 5, text.data() + 7, value.month);
    if (year.ptr != text.data() + 4 || month.ptr != text.data() + 7 || value.month < 1 ||
        value.month > 12) {
        return std::nullopt;
    }
    return value;
}

// Takes one option word (and its value from `next` when it needs one).
// Returns how many words were used.
std::size_t takeOption(const std::vector<std::string>& words, std::size_t at, CommandLine& line) {
    const std::string& word = words[at];
    const CommandSpec* spec = specOf(line.command);
    const std::string& owner = line.command;
    if (word == "--help" || word == "-h") {
        line.help = true;
        return 1;
    }
    if (word == "--version") {
        line.version = true;
        return 1;
    }
    if (word == "--wait" && !line.command.empty()) {
        line.options.wait = true;
        return 1;
    }
    if (word == "--offline" && spec != nullptr && spec->offline) {
        line.options.offline = true;
        return 1;
    }
    if (word == "--list" && line.command == "download") {
        line.options.list = true;
        return 1;
    }
    if ((word == "--month" || word.starts_with("--month=")) && spec != nullptr && spec->month) {
        const bool inline_ = word.size() > 7;
        if (!inline_ && at + 1 >= words.size()) {
            throw UsageError("--month needs a month as YYYY/MM", owner);
        }
        const std::string value = inline_ ? word.substr(8) : words[at + 1];
        const std::optional<YearMonth> month = yearMonthOf(value);
        if (!month) {
            throw UsageError("--month needs a month as YYYY/MM, not \"" + value + "\"", owner);
        }
        line.options.month = month;
        return inline_ ? 1 : 2;
    }
    throw UsageError("unknown option " + word, owner);
}

} // namespace

CommandLine parseCommandLine(const std::vector<std::string>& words) {
    CommandLine line;
    bool optionsEnded = false;
    for (std::size_t at = 0; at < words.size();) {
        const std::string& word = words[at];
        if (!optionsEnded && word == "--") {
            optionsEnded = true;
            ++at;
        } else if (!optionsEnded && word.size() > 1 && word[0] == '-') {
            at += takeOption(words, at, line);
        } else if (line.command.empty()) {
            if (specOf(word) == nullptr) {
                throw UsageError("unknown command: " + word, "");
            }
            line.command = word;
            ++at;
        } else {
            line.operands.push_back(word);
            ++at;
        }
    }
    if (line.command == "help") {
        line.help = true;
        line.command = line.operands.empty() ? std::string() : line.operands.front();
        if (!line.command.empty() && specOf(line.command) == nullptr) {
            throw UsageError("unknown command: " + line.command, "");
        }
        line.operands.clear();
    }
    return line;
}

std::string programUsage() {
    std::string text = "usage: zob COMMAND [OPTIONS] [ARGUMENTS]\n"
                       "       zob help COMMAND | zob COMMAND --help | zob --version\n"
                       "\n"
                       "Works in the current folder: settings come from ./ZObrowser.ini, as the\n"
                       "browser's do.\n"
                       "\n"
                       "commands:\n";
    for (const CommandSpec& spec : commands) {
        text += "  " + std::string(spec.name) + std::string(10 - spec.name.size(), ' ') +
                std::string(spec.summary) + "\n";
    }
    text += "\n"
            "options (where the command takes them, anywhere after its word; \"--\"\n"
            "ends them):\n"
            "  --offline          work from the local catalogue, fetch nothing\n"
            "  --month YYYY/MM    the month to load from the site when the series is\n"
            "                     not in the local catalogue\n"
            "  --wait             wait for a local folder another program works in\n"
            "\n"
            "A series NAME is found in the lists loaded at start (favorites, bad list),\n"
            "then in every local catalogue, newest month first, then online in the\n"
            "month --month names or the date at the end of NAME (_YYYYMM, _YYYYMMDD).\n"
            "\n"
            "One program at a time works in a local folder: when another holds it, zob\n"
            "says so and exits 75, unless --wait was given.\n"
            "\n"
            "exit status: 0 done, 1 an error, 2 the list or series could not be found,\n"
            "3 start-up aborted or the program had to close, 4 download incomplete,\n"
            "64 bad arguments, 75 the local folder is in use, 130 interrupted\n";
    return text;
}

std::string commandUsage(const std::string& command) {
    const CommandSpec* spec = specOf(command);
    return spec == nullptr ? programUsage() : std::string(spec->usage);
}

} // namespace zob
