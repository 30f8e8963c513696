#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

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
    // The picture is asked of `source` whenever the tile is painted (or
    // looked at), for walls too large to keep every picture composed.
    void setImageSource(std::function<QImage()> source);
    QImage image() const;

protected:
    virtual void clicked(QPoint position) = 0;

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Fit fit_;
    QImage image_;
    std::function<QImage()> source_;
    bool pressed_ = false;
};

} // namespace zob
