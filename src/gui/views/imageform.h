#pragma once

// The side viewer: a tool window beside the main window that shows one
// picture large. The picture is fitted into the window; a click fits the
// window to the picture (or hands the file to an external viewer), and "To
// Original size" shows it pixel for pixel, to be dragged around.

#include <QSize>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <string>

class QAction;
class QFrame;
class QLabel;
class QMenu;

namespace zob {

class configInfoClass;
class DebugLog;
class PictureView;

class TImageForm : public QWidget {
    Q_OBJECT
public:
    // Sized to the screen's work area; `parent`, when given, also serves as
    // the main window until setMainWindow names another.
    TImageForm(configInfoClass& config, DebugLog& log, QWidget* parent = nullptr);

    // Shows `file`, whether the window is visible or not. The same file shown
    // without a warning is left alone; a missing or empty file leaves the
    // picture empty with a warning. Throws JpegError for a file that is no
    // picture.
    void setImage(const std::string& file);
    // Reads the current file again: it may have arrived since.
    void updateImage();
    const std::string& currentFile() const { return currentFile_; }

    // The window whose width the picture must leave free when the window is
    // fitted to the picture.
    void setMainWindow(const QWidget* mainWindow) { mainWindow_ = mainWindow; }

    // Fits the picture into the window, unless it shows at its natural size.
    void adjustImage();
    // An empty text hides the warning.
    void showWarning(const QString& text);

    QLabel* FileNameLabel = nullptr;
    PictureView* LargeLogoImg = nullptr;
    QLabel* WarnLabel = nullptr;
    QMenu* ImagePopup = nullptr;
    QAction* mnFitWindow = nullptr;
    QAction* mnOriginal = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void LargeLogoImgClick();
    void LargeLogoImgMouseDown(QPoint position);
    void LargeLogoImgMouseMove(QPoint position);
    void LargeLogoImgMouseUp(Qt::MouseButton button, QPoint position, QPoint globalPosition);
    void mnOriginalClick();

    void startExternalViewer() const;
    void fitWindowToPicture();
    void clearPicture();
    // Decodes again when the picture must show larger than it was decoded.
    void sharpen(QSize shown);
    void placeWarning();
    void trace(const char* event) const;

    configInfoClass& config_;
    DebugLog& log_;
    const QWidget* mainWindow_ = nullptr;
    QFrame* Panel1 = nullptr;

    std::string currentFile_;
    QSize naturalSize_; // empty while no picture shows
    QSize placedFor_;   // the client size the picture was last placed for
    bool dragged_ = false;
    bool pressed_ = false;
    bool naturalSizeMode_ = false;
    QPoint press_;
};

// The external viewer's arguments: `parameters` split at blanks (quotes
// group), the first "%f" of the first argument holding one replaced by
// `file`, which stays one argument whatever it contains.
QStringList viewerArguments(const QString& parameters, const QString& file);

} // namespace zob
