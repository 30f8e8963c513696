#pragma once

// The main window's widgets, found as a user's script finds them: by their
// object names.

#include "gui/views/archiveimageview.h"
#include "gui/views/contentsview.h"
#include "gui/views/listview.h"

#include <QTabWidget>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

namespace zob::testing {

template <class T> T* part(const QObject& window, const char* name) {
    T* found = window.findChild<T*>(name);
    if (found == nullptr) {
        ADD_FAILURE() << "the window has no " << name;
        throw std::runtime_error(std::string("no widget ") + name);
    }
    return found;
}

inline ArchiveImageView* imageView(const QObject& window) {
    return part<ArchiveImageView>(window, "ImageSheet");
}
inline ArchiveListView* listView(const QObject& window) {
    return part<ArchiveListView>(window, "ListSheet");
}
inline SeriesContentsView* contentsView(const QObject& window) {
    return part<SeriesContentsView>(window, "contentsSheet");
}
inline QTabWidget* mainTab(const QObject& window) {
    return part<QTabWidget>(window, "mainTab");
}

} // namespace zob::testing
