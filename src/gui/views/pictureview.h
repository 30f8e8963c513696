#pragma once

// A picture control that stretches its image to its own size, smoothly, and
// keeps the stretched copy until either changes: the side viewer moves and
// repaints it far more often than it resizes it.

#include <QImage>
#include <QWidget>

namespace zob {

class PictureView : public QWidget {
    Q_OBJECT
public:
    explicit PictureView(QWidget* parent);

    void setImage(QImage image);
    void clear() { setImage(QImage()); }
    // As decoded, which may be larger than shown.
    const QImage& image() const { return image_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage image_;
    QImage scaled_;
};

} // namespace zob
