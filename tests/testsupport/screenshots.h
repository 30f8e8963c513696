#pragma once

// Window tests save what a user would see, so anyone can look at it.

#include <QDir>
#include <QString>
#include <QWidget>

namespace zob::testing {

// Writes `widget` as build/screenshots/NAME.png; returns the file's path.
inline QString saveScreenshot(QWidget& widget, const QString& name) {
    const QString folder = QStringLiteral(ZOB_BINARY_DIR "/screenshots");
    QDir().mkpath(folder);
    const QString path = folder + "/" + name + ".png";
    widget.grab().save(path);
    return path;
}

} // namespace zob::testing
