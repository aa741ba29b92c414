#pragma once

#include <QImage>
#include <QLabel>

// A window's picture box: shows its picture at the top left and lends its drawing area,
// the box's own size with the picture on the window's background, to controls that copy
// from it (the skinned buttons take their skin from a hidden one).
class PictureBox : public QLabel {
    Q_OBJECT

public:
    explicit PictureBox(QWidget *parent = nullptr);

    void setPicture(const QPixmap &picture);
    // The drawing area, RGB32, width() x height(); readable while the box is hidden.
    const QImage &surface() const;

protected:
    void resizeEvent(QResizeEvent *e) override;
    void changeEvent(QEvent *e) override;

private:
    mutable QImage m_surface;
    mutable bool m_stale = true;
};
