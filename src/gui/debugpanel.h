#pragma once

#include <QObject>
#include <atomic>

class QPlainTextEdit;
class QWidget;

namespace zob {

struct MainParts;

// The debug log's text box over the current tab, and its two tool-bar
// buttons' commands.
class DebugPanel : public QObject {
    Q_OBJECT
public:
    // The box starts hidden on the Image View page.
    DebugPanel(MainParts& parts, QWidget* imagePage);

    // The log records from now on; the buttons appear and the box follows
    // the log, refreshed on the window's thread whoever wrote.
    void switchOn();
    // The box shows or hides over the tab shown now.
    void toggle();
    void save() const;
    // Spans its page below the tab's caption line.
    void place(int imagePageHeight);

private:
    void refresh();

    MainParts& parts_;
    QPlainTextEdit* memo_;
    std::atomic<bool> refreshQueued_{false};
};

} // namespace zob
