#include "WindowCapture.h"

#include "X11Screen.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QWidget>
#include <QWindow>

#include <cmath>
#include <utility>

CaptureError::CaptureError()
    : std::runtime_error("Das Bild des Fensters kann nicht erstellt werden")
{
}

void FlushToScreen(QWidget *window)
{
    window->repaint();            // paints now and hands the pixels to the window system
    QGuiApplication::sync();      // waits until the window system has processed them
}

void PrepareCapture(QWidget *window)
{
    // A read whose picture is dropped maps every buffer on both sides; touching each page
    // of it here spares the encoder the page faults.
    if (const auto screen = ReadOuterRectangle(window)) {
        const uchar *bits = screen->image.constBits();
        volatile uchar sink = 0;
        for (qsizetype i = 0; i < screen->image.sizeInBytes(); i += 4096)
            sink = sink + bits[i];
    }
}

namespace {

// True where every pixel has the same colour: what a server that cannot read a window
// gives back (all black), never a picture of one of the program's windows.
bool IsUniform(const QImage &picture)
{
    if (picture.isNull())
        return true;
    const QRgb first = picture.pixel(0, 0) | 0xFF000000u;
    for (int y = 0; y < picture.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            if ((row[x] | 0xFF000000u) != first)
                return false;
    }
    return true;
}

QMargins DrawnFrameMargins(QWidget *window)
{
    QWindow *handle = window->windowHandle();
    QMargins margins = handle ? handle->frameMargins() : QMargins();
    if (margins.isNull()) {
        const int border = 1;
        const int titleHeight = window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
        margins = QMargins(border, titleHeight + border, border, border);
    }
    return margins;
}

} // namespace

QImage RenderOuterPicture(QWidget *window, QSize outer, QPoint clientOffset)
{
    QWindow *handle = window->windowHandle();
    const qreal ratio = handle ? handle->devicePixelRatio() : window->devicePixelRatioF();
    QImage picture(outer, QImage::Format_RGB32);
    if (picture.isNull())
        return picture;
    picture.fill(window->palette().color(QPalette::Window));
    QPainter painter(&picture);
    painter.scale(ratio, ratio);   // the style and the window draw in their own units
    const QSizeF logical = QSizeF(outer) / ratio;
    const qreal titleBottom = clientOffset.y() / ratio;

    QStyle *style = window->style();
    QStyleOptionTitleBar bar;
    bar.initFrom(window);
    bar.rect = QRect(0, 0, int(std::ceil(logical.width())), int(std::ceil(titleBottom)));
    bar.text = window->windowTitle();
    bar.icon = window->windowIcon();
    bar.titleBarState = Qt::WindowActive;
    bar.titleBarFlags = Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint;
    bar.subControls = QStyle::SC_All;
    bar.state |= QStyle::State_Active;
    if (!bar.rect.isEmpty())
        style->drawComplexControl(QStyle::CC_TitleBar, &bar, &painter, window);

    painter.setPen(window->palette().color(QPalette::Dark));
    painter.drawRect(QRectF(QPointF(0, 0), logical).adjusted(0, 0, -1 / ratio, -1 / ratio));
    painter.drawPixmap(QPointF(clientOffset) / ratio, window->grab());
    painter.end();
    return picture;
}

QImage RenderOuterPicture(QWidget *window)
{
    QWindow *handle = window->windowHandle();
    const qreal ratio = handle ? handle->devicePixelRatio() : window->devicePixelRatioF();
    const QMargins margins = DrawnFrameMargins(window);
    const QSize outer = window->size().grownBy(margins);
    return RenderOuterPicture(window, (QSizeF(outer) * ratio).toSize(),
                              QPoint(qRound(margins.left() * ratio), qRound(margins.top() * ratio)));
}

void CaptureForegroundWindow(QImage &bitmap, std::uint16_t rowsToLeaveOff, QWidget *window)
{
    QImage picture;
    if (auto screen = ReadOuterRectangle(window); screen && !IsUniform(screen->image)) {
        picture = std::move(screen->image);
        if (!screen->unread.isEmpty()) {
            // What the screen could not show comes from the window's own drawing.
            const QImage drawn = RenderOuterPicture(window, picture.size(), screen->clientOffset);
            QPainter painter(&picture);
            painter.setClipRegion(screen->unread);
            painter.drawImage(0, 0, drawn);
        }
    } else {
        picture = RenderOuterPicture(window);
        if (IsUniform(picture))   // a null picture counts as uniform
            throw CaptureError();
    }
    picture.setDevicePixelRatio(1.0);   // native pixels (Format_RGB32 both ways), never rescaled

    const int height = picture.height() - rowsToLeaveOff;
    if (height <= 0)
        bitmap = QImage();
    else if (rowsToLeaveOff > 0)
        bitmap = picture.copy(0, 0, picture.width(), height);
    else
        bitmap = std::move(picture);
}
