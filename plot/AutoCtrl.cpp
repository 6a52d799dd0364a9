#include "AutoCtrl.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <optional>

#include "PainterCanvas.h"

namespace {

std::optional<PlotButton> ToPlotButton(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return PlotButton::Left;
        case Qt::RightButton:
            return PlotButton::Right;
        case Qt::MiddleButton:
            return PlotButton::Middle;
        default:
            return std::nullopt;
    }
}

PlotPoint ToPlotPoint(const QPointF& p) {
    return {p.toPoint().x(), p.toPoint().y()};
}

}  // namespace

CAutoCtrl::CAutoCtrl(QWidget* parent) : QWidget(parent) {
    // The paint covers every pixel, so Qt need not clear the background first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
}

void CAutoCtrl::PaintContent(Canvas& canvas, const PlotRect& client) {
    Draw(canvas, client);
}

void CAutoCtrl::Compose(QImage& image) {
    const auto bg = m_window_background;
    image.fill(QColor(bg.r, bg.g, bg.b));
    QPainter painter(&image);
    PainterCanvas canvas(painter);
    PaintContent(canvas, {0, 0, width(), height()});
    if (BandActive()) canvas.InvertFrame(BandRect());
}

void CAutoCtrl::PaintPicture(QPainter& painter, QSize size) {
    const auto bg = m_window_background;
    painter.fillRect(QRect(QPoint(0, 0), size), QColor(bg.r, bg.g, bg.b));
    PainterCanvas canvas(painter);
    PaintContent(canvas, {0, 0, size.width(), size.height()});
}

QImage CAutoCtrl::RenderImage(qreal device_pixel_ratio) {
    QImage image(size() * device_pixel_ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(device_pixel_ratio);
    Compose(image);
    return image;
}

void CAutoCtrl::Invalidate() {
    update();
}

void CAutoCtrl::Notify(AutoNotify code) {
    emit Notified(code);
}

bool CAutoCtrl::event(QEvent* event) {
    switch (event->type()) {
        // While a button is held Qt keeps the mouse with the widget pressed and holds back its
        // Leave until the release, so a Leave during a gesture means that something else took
        // the mouse: a popup opened.
        case QEvent::Leave:
        case QEvent::WindowDeactivate:
        case QEvent::Hide:
            OnCaptureLost();
            break;
        case QEvent::EnabledChange:
            if (!isEnabled()) OnCaptureLost();
            break;
        default:
            break;
    }
    return QWidget::event(event);
}

void CAutoCtrl::paintEvent(QPaintEvent*) {
    QPainter(this).drawImage(0, 0, RenderImage(devicePixelRatioF()));
}

void CAutoCtrl::mousePressEvent(QMouseEvent* event) {
    const auto button = ToPlotButton(event->button());
    event->setAccepted(button && OnButtonDown(*button, ToPlotPoint(event->position())));
}

void CAutoCtrl::mouseMoveEvent(QMouseEvent* event) {
    const Qt::MouseButton zoom =
        m_zoom_button == ZoomButton::Right ? Qt::RightButton : Qt::LeftButton;
    OnMouseMove(ToPlotPoint(event->position()), event->buttons().testFlag(zoom));
    event->ignore();
}

void CAutoCtrl::mouseReleaseEvent(QMouseEvent* event) {
    const auto button = ToPlotButton(event->button());
    event->setAccepted(button && OnButtonUp(*button, ToPlotPoint(event->position())));
}

void CAutoCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        OnDoubleClick();
        event->ignore();
        return;
    }
    mousePressEvent(event);
}

void CAutoCtrl::wheelEvent(QWheelEvent* event) {
    // Some platforms turn a Shift-wheel into a horizontal one; either way one notch is one step.
    const QPoint angle = event->angleDelta();
    const int delta = angle.y() != 0 ? angle.y() : angle.x();
    const Qt::KeyboardModifiers mods = event->modifiers();
    OnWheel(delta, mods.testFlag(Qt::ShiftModifier), mods.testFlag(Qt::ControlModifier));
    event->accept();
}
