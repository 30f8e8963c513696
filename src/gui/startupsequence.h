#pragma once

namespace zob {

struct MainParts;

// The start-up of the main window: mode decision and sign-in, the three
// lists every run needs (favorites, the current month, the bad list), the
// Archive menu and the window's place on the screen.
class StartupSequence {
public:
    explicit StartupSequence(MainParts& parts) : parts_(parts) {}

    // Runs once the window is shown, and again on activation while no list
    // became current.
    void run();
    bool started() const { return started_; }
    bool aborted() const { return aborted_; }
    // The window is where the start-up put it: later moves are the user's.
    bool windowPlaced() const { return windowPlaced_; }

private:
    // False when the user gave up at the sign-in.
    bool signIn();
    // False when the window is closing: the start-up stops there.
    bool loadLists(bool showSplash);
    void loadMemberList(bool favorites);
    void initWindowParts();
    void placeMainWindow();

    MainParts& parts_;
    bool started_ = false;
    bool aborted_ = false;
    bool windowPlaced_ = false;
    bool running_ = false;
};

} // namespace zob
