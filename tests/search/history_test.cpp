#include "catalogue/listtesting.h"
#include "search/history.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace zob {
namespace {

using cataloguetest::CatalogueWorld;

class RecordingView : public HistoryView {
public:
    void setMenuEntries(const std::vector<HistoryMenuEntry>& entries) override {
        menu = entries;
        ++menuUpdates;
    }
    void setButtons(bool backEnabled, bool forwardEnabled) override {
        back = backEnabled;
        forward = forwardEnabled;
        ++buttonUpdates;
    }

    std::vector<HistoryMenuEntry> menu;
    int menuUpdates = 0;
    bool back = true;
    bool forward = true;
    int buttonUpdates = 0;
};

// "Z:0 Y:30 X:20": captions newest first with their scroll positions.
std::string contents(const historyList& history) {
    std::string text;
    for (const auto& entry : history.entries()) {
        text += (text.empty() ? "" : " ") + entry.list->menuCaption() + ":" +
                std::to_string(entry.scroll);
    }
    return text;
}

class HistoryTest : public ::testing::Test {
protected:
    ArtListPtr list(const std::string& name) { return world.named(name); }

    // Shows W, X, Y, Z in turn, leaving each view at 10, 20, 30.
    void showFour(historyList& history) {
        history.addEntry(w, 0, true);
        history.addEntry(x, 10, true);
        history.addEntry(y, 20, true);
        history.addEntry(z, 30, true);
    }

    CatalogueWorld world;
    RecordingView view;
    ArtListPtr w = list("W");
    ArtListPtr x = list("X");
    ArtListPtr y = list("Y");
    ArtListPtr z = list("Z");
};

TEST_F(HistoryTest, CapacityDropsTheOldestWithItsScrollPosition) {
    historyList history(3, view);
    showFour(history);

    EXPECT_EQ(contents(history), "Z:0 Y:30 X:20");
    EXPECT_EQ(history.indexOfEntry(w), -1);
    EXPECT_EQ(history.currentEntry(), z);
    EXPECT_TRUE(view.back);
    EXPECT_FALSE(view.forward);
}

TEST_F(HistoryTest, CapacityBelowOneKeepsTheNewestEntry) {
    for (const std::int32_t capacity : {0, -5}) {
        RecordingView own;
        historyList history(capacity, own);
        EXPECT_EQ(history.capacity(), 1);
        showFour(history);
        EXPECT_EQ(contents(history), "Z:0") << capacity;
        EXPECT_EQ(history.currentEntry(), z);
        EXPECT_FALSE(own.back);
        EXPECT_FALSE(own.forward);
    }
}

TEST_F(HistoryTest, NewListAfterGoingBackCutsOffTheNewerEntries) {
    historyList history(3, view);
    showFour(history);
    history.goBackward();
    history.goBackward();
    ASSERT_EQ(history.currentEntry(), x);
    EXPECT_FALSE(view.back);
    EXPECT_TRUE(view.forward);

    history.addEntry(list("V"), 55, true);

    EXPECT_EQ(contents(history), "V:0 X:55");
    EXPECT_EQ(history.current(), 0);
    EXPECT_TRUE(view.back);
    EXPECT_FALSE(view.forward);
}

TEST_F(HistoryTest, EqualButDistinctListIsANewEntry) {
    historyList history(5, view);
    history.addEntry(w, 0, true);
    const ArtListPtr otherW = list("W");
    ASSERT_TRUE(otherW->isSame(*w));

    history.addEntry(otherW, 4, true);

    EXPECT_EQ(contents(history), "W:0 W:4");
    EXPECT_EQ(history.currentEntry(), otherW);
}

TEST_F(HistoryTest, RevisitKeepsOrderAndStoresScrollUnderTheListLeft) {
    historyList history(5, view);
    showFour(history);

    history.addEntry(y, 77, false);

    EXPECT_EQ(contents(history), "Z:77 Y:30 X:20 W:10");
    EXPECT_EQ(history.currentEntry(), y);
    EXPECT_EQ(history.currentScroll(), 30);
    EXPECT_TRUE(view.back);
    EXPECT_TRUE(view.forward);

    // Leaving Y for the oldest entry stores Y's position under Y.
    history.addEntry(w, 31, false);
    EXPECT_EQ(contents(history), "Z:77 Y:31 X:20 W:10");
    EXPECT_EQ(history.currentEntry(), w);
    EXPECT_FALSE(view.back);
}

TEST_F(HistoryTest, MoveBringsAnExistingEntryToTheFront) {
    historyList history(5, view);
    showFour(history);

    history.addEntry(x, 5, true);
    // X keeps the position it was left at: coming back restores it.
    EXPECT_EQ(contents(history), "X:20 Z:5 Y:30 W:10");
    EXPECT_EQ(history.currentEntry(), x);
    EXPECT_EQ(history.currentScroll(), 20);

    // From an older entry: the position left travels with that entry as the
    // ones in front of the moved one shift back.
    history.goBackward();
    history.goBackward();
    ASSERT_EQ(history.currentEntry(), y);
    history.addEntry(w, 9, true);
    EXPECT_EQ(contents(history), "W:10 X:20 Z:5 Y:9");
    EXPECT_EQ(history.current(), 0);
    EXPECT_FALSE(view.forward);

    // Moving the entry already in front only stores its position.
    history.addEntry(w, 12, true);
    EXPECT_EQ(contents(history), "W:12 X:20 Z:5 Y:9");
}

TEST_F(HistoryTest, ButtonsFollowThePosition) {
    historyList history(5, view);
    EXPECT_EQ(view.buttonUpdates, 1) << "the buttons are set at construction";
    EXPECT_FALSE(view.back);
    EXPECT_FALSE(view.forward);
    EXPECT_EQ(history.currentEntry(), nullptr);
    EXPECT_EQ(history.currentScroll(), 0);

    history.addEntry(w, 0, true);
    EXPECT_FALSE(view.back);
    EXPECT_FALSE(view.forward);

    history.addEntry(x, 0, true);
    EXPECT_TRUE(view.back);
    EXPECT_FALSE(view.forward);

    // Steps past either end change nothing but still refresh the buttons.
    const int before = view.buttonUpdates;
    history.goForward();
    EXPECT_EQ(history.currentEntry(), x);
    history.goBackward();
    history.goBackward();
    EXPECT_EQ(history.currentEntry(), w);
    EXPECT_FALSE(view.back);
    EXPECT_TRUE(view.forward);
    EXPECT_EQ(view.buttonUpdates, before + 3);
}

TEST_F(HistoryTest, FindByCaptionMatchesExactlyAndTakesTheNewest) {
    historyList history(5, view);
    EXPECT_EQ(history.findByCaption("W"), nullptr);
    showFour(history);
    const ArtListPtr secondY = list("Y");
    history.addEntry(secondY, 0, true);

    EXPECT_EQ(history.findByCaption("Y"), secondY);
    EXPECT_EQ(history.findByCaption("W"), w);
    EXPECT_EQ(history.findByCaption("y"), nullptr);
    EXPECT_EQ(history.findByCaption("Y "), nullptr);
    EXPECT_EQ(history.findByCaption(""), nullptr);
}

TEST_F(HistoryTest, MenuMirrorsTheEntriesAndChecksTheCurrentOne) {
    historyList history(5, view);
    history.refreshHistoryMenu();
    EXPECT_EQ(view.menuUpdates, 1);
    EXPECT_TRUE(view.menu.empty());

    history.addEntry(w, 0, true);
    history.addEntry(x, 0, true);
    history.addEntry(y, 0, true);
    EXPECT_EQ(view.menuUpdates, 1) << "only an explicit refresh redraws the menu";

    history.refreshHistoryMenu();
    EXPECT_EQ(view.menu, (std::vector<HistoryMenuEntry>{{"Y", true}, {"X", false}, {"W", false}}));

    history.goBackward();
    history.refreshHistoryMenu();
    EXPECT_EQ(view.menu, (std::vector<HistoryMenuEntry>{{"Y", false}, {"X", true}, {"W", false}}));

    history.addEntry(z, 0, true);
    history.refreshHistoryMenu();
    EXPECT_EQ(view.menu, (std::vector<HistoryMenuEntry>{{"Z", true}, {"X", false}, {"W", false}}));
}

// Records what the commands ask of the window, in order.
class RecordingWindow : public HistoryWindow {
public:
    void setCrntArchive(const ArtListPtr& list, std::int32_t scroll) override {
        calls.push_back("show " + list->menuCaption() + " " + std::to_string(scroll));
    }
    std::int32_t tileScrollPosition() const override { return tileScroll; }
    void setBusyCursor(bool busy) override { calls.push_back(busy ? "busy" : "idle"); }
    void clearSelection() override { calls.push_back("clear"); }
    void setListMenusEnabled(bool enabled) override {
        calls.push_back(enabled ? "menus on" : "menus off");
    }
    void showSplash(const std::string& message) override { calls.push_back("splash " + message); }
    void showImagePage() override { calls.push_back("image page"); }

    std::int32_t tileScroll = 0;
    std::vector<std::string> calls;
};

using Calls = std::vector<std::string>;

TEST_F(HistoryTest, BackAndForwardButtonsShowTheStoredPosition) {
    historyList history(5, view);
    RecordingWindow window;
    showFour(history);

    histForwardClick(history, window);
    EXPECT_TRUE(window.calls.empty()) << "nothing newer than the newest";

    histBackwardClick(history, window);
    histBackwardClick(history, window);
    histForwardClick(history, window);
    EXPECT_EQ(window.calls, (Calls{"show Y 30", "show X 20", "show Y 30"}));
    EXPECT_EQ(contents(history), "Z:0 Y:30 X:20 W:10");

    window.calls.clear();
    history.goBackward();
    history.goBackward();
    histBackwardClick(history, window);
    EXPECT_TRUE(window.calls.empty()) << "nothing older than the oldest";
}

TEST_F(HistoryTest, MenuChoiceRevisitsTheEntryInPlace) {
    historyList history(5, view);
    RecordingWindow window;
    showFour(history);
    window.tileScroll = 44;

    EXPECT_TRUE(historyMenuClick(history, 2, window, true, false));

    EXPECT_EQ(window.calls,
              (Calls{"busy", "clear", "menus off", "show X 0", "splash X", "idle", "image page"}));
    EXPECT_EQ(contents(history), "Z:44 Y:30 X:20 W:10");
    EXPECT_EQ(history.currentEntry(), x);
}

TEST_F(HistoryTest, MenuChoiceSplashOnlyWhenOnlineAndWanted) {
    historyList history(5, view);
    showFour(history);
    for (const auto& [online, noSplash] : {std::pair{false, false}, {true, true}, {false, true}}) {
        RecordingWindow window;
        EXPECT_TRUE(historyMenuClick(history, 1, window, online, noSplash));
        EXPECT_EQ(window.calls,
                  (Calls{"busy", "clear", "menus off", "show Y 0", "idle", "image page"}));
    }

    // A menu out of step with the history.
    RecordingWindow window;
    EXPECT_FALSE(historyMenuClick(history, 4, window, true, false));
    EXPECT_TRUE(window.calls.empty());
}

} // namespace
} // namespace zob
