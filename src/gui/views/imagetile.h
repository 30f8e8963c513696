#pragma once

#include <QImage>
#include <QWidget>

namespace zob {

// A picture composed once and painted as it is, that tells a click (a left
// press and release on it) from a drag off it. The walls' tiles build on it.
class ImageTile : public QWidget {
    Q_OBJECT
public:
    enum class Fit {
        toImage, // the tile takes the picture's size
        centred, // the tile keeps its size; the picture sits in its middle
    };

    ImageTile(Fit fit, QWidget* parent);

    void setImage(QImage image);
    const QImage& image() const { return image_; }

protected:
    virtual void clicked(QPoint position) = 0;

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Fit fit_;
    QImage image_;
    bool pressed_ = false;
};

} // namespace zob
