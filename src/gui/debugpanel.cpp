#include "gui/debugpanel.h"

#include "app/appcontext.h"
#include "gui/displaytext.h"
#include "gui/mainmenus.h"
#include "gui/mainparts.h"
#include "gui/views/archiveimageview.h"

#include <QPlainTextEdit>
#include <QTabWidget>

namespace zob {

DebugPanel::DebugPanel(MainParts& parts, QWidget* imagePage)
    : parts_(parts), memo_(new QPlainTextEdit("dbgMemo", imagePage)) {
    memo_->setObjectName("dbgMemo");
    memo_->setReadOnly(true);
    memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo_->hide();
}

void DebugPanel::switchOn() {
    parts_.menus->showDebugButtons();
    place(parts_.imageView->height());
    DebugLog& log = parts_.context.debugLog;
    log.switchOn();
    log.setChangeListener([this] {
        // Any thread may write; the box is refreshed on the window's thread,
        // once for a burst of lines.
        if (!refreshQueued_.exchange(true)) {
            QMetaObject::invokeMethod(
                this,
                [this] {
                    refreshQueued_ = false;
                    refresh();
                },
                Qt::QueuedConnection);
        }
    });
    parts_.context.dbgLog("test", true);
}

void DebugPanel::toggle() {
    QWidget* page = parts_.tabs->currentWidget();
    if (memo_->parentWidget() != page) {
        memo_->setParent(page);
    }
    memo_->setVisible(!memo_->isVisible());
    place(parts_.imageView->height());
    memo_->raise();
}

void DebugPanel::save() const {
    parts_.context.debugLog.saveTo("dbg.log");
}

void DebugPanel::place(int imagePageHeight) {
    if (QWidget* page = memo_->parentWidget()) {
        memo_->setGeometry(0, 31, page->width(), std::max(0, imagePageHeight - 15 - 31));
    }
}

void DebugPanel::refresh() {
    QString text;
    for (const std::string& line : parts_.context.debugLog.lines()) {
        text += toDisplay(line);
        text += '\n';
    }
    memo_->setPlainText(text);
    memo_->moveCursor(QTextCursor::End);
}

} // namespace zob
