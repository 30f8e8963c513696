#pragma once

#include <QWidget>
#include <string>

class QLabel;

namespace zob {

class configInfoClass;

// The side viewer: a tool window beside the main window that shows one
// picture large, fitted into its area.
class TImageForm : public QWidget {
    Q_OBJECT
public:
    explicit TImageForm(configInfoClass& config, QWidget* parent = nullptr);

    // Shows `file`, whether the window is visible or not; a missing or empty
    // file leaves the picture empty with a warning.
    void setImage(const std::string& file);
    // Reads the current file again (it may have grown on disk).
    void updateImage();
    const std::string& currentFile() const { return currentFile_; }

    QLabel* FileNameLabel = nullptr;
    QLabel* LargeLogoImg = nullptr;
    QLabel* WarnLabel = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void adjustImage();

    configInfoClass& config_;
    std::string currentFile_;
    QImage picture_;
};

} // namespace zob
