#pragma once

#include <QImage>
#include <QWidget>

#include "AutoView.h"

class QMouseEvent;
class QPaintEvent;
class QWheelEvent;

// The plot window: shows its panel over the whole client area and navigates it with the mouse.
// Every paint composes the picture off-screen (panel, anything a derived control adds through
// PaintContent, then the rubber band) and copies it to the window once; the background is never
// erased on its own, so nothing flickers.
//
// Mouse events it does not consume are ignored, and Qt passes them on to the parent. View
// changes reach whoever connects to Notified. Qt sends no button release once the mouse has gone
// elsewhere, so the loss itself ends any gesture (OnCaptureLost).
class CAutoCtrl : public QWidget, public CAutoView {
    Q_OBJECT

public:
    explicit CAutoCtrl(QWidget* parent = nullptr);

    // The picture a paint would show, at the widget's size; `device_pixel_ratio` device pixels
    // per widget pixel, as on a screen with that ratio.
    QImage RenderImage(qreal device_pixel_ratio = 1.0);
    // Paints what the control shows, laid out for `size` instead of the widget's own, onto any
    // device (an image, an SVG generator). The next paint or RenderImage lays it out for the
    // widget again.
    void PaintPicture(QPainter& painter, QSize size);

signals:
    void Notified(AutoNotify code);

protected:
    // Draws the client area. The default draws the panel; a derived control calls it and then
    // adds its own marks with the panel's frame.
    virtual void PaintContent(Canvas& canvas, const PlotRect& client);

    void Invalidate() override;
    void Notify(AutoNotify code) override;

    // Turns every sign that the mouse has gone elsewhere into OnCaptureLost.
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void Compose(QImage& image);
};
