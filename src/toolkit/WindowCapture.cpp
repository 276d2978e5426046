#include "WindowCapture.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QWidget>
#include <QWindow>

#include <utility>

void FlushToScreen(QWidget *window)
{
    window->repaint();            // paints now and hands the pixels to the window system
    QGuiApplication::sync();      // waits until the window system has processed them
}

QImage RenderOuterPicture(QWidget *window)
{
    QWindow *handle = window->windowHandle();
    const qreal ratio = handle ? handle->devicePixelRatio() : window->devicePixelRatioF();
    QMargins margins = handle ? handle->frameMargins() : QMargins();
    QStyle *style = window->style();
    if (margins.isNull()) {
        const int border = 1;
        const int titleHeight = style->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
        margins = QMargins(border, titleHeight + border, border, border);
    }
    const QSize outer = window->size().grownBy(margins);

    QImage picture(outer * ratio, QImage::Format_RGB32);
    picture.setDevicePixelRatio(ratio);
    picture.fill(window->palette().color(QPalette::Window));
    QPainter painter(&picture);

    QStyleOptionTitleBar bar;
    bar.initFrom(window);
    bar.rect = QRect(0, 0, outer.width(), margins.top());
    bar.text = window->windowTitle();
    bar.icon = window->windowIcon();
    bar.titleBarState = Qt::WindowActive;
    bar.titleBarFlags = Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint;
    bar.subControls = QStyle::SC_All;
    bar.state |= QStyle::State_Active;
    style->drawComplexControl(QStyle::CC_TitleBar, &bar, &painter, window);

    painter.setPen(window->palette().color(QPalette::Dark));
    painter.drawRect(QRect(QPoint(0, 0), outer).adjusted(0, 0, -1, -1));
    painter.drawPixmap(QPoint(margins.left(), margins.top()), window->grab());
    painter.end();
    return picture;
}

void CaptureForegroundWindow(QImage &bitmap, std::uint16_t rowsToLeaveOff, QWidget *window)
{
    QImage picture;
    QWindow *handle = window->windowHandle();
    QScreen *screen = handle ? handle->screen() : nullptr;
    if (screen && handle->isExposed()) {
        // Read again now: the window manager may have moved the window by a pixel.
        const QRect frame = handle->frameGeometry();
        const QRect onScreen = frame.translated(-screen->geometry().topLeft());
        const QPixmap grabbed = screen->grabWindow(0, onScreen.x(), onScreen.y(), frame.width(), frame.height());
        picture = grabbed.toImage();
    }
    if (picture.isNull())
        picture = RenderOuterPicture(window);
    picture = picture.convertToFormat(QImage::Format_RGB32);
    picture.setDevicePixelRatio(1.0);   // native pixels, never rescaled

    const int height = picture.height() - rowsToLeaveOff;
    if (height <= 0)
        bitmap = QImage();
    else if (rowsToLeaveOff > 0)
        bitmap = picture.copy(0, 0, picture.width(), height);
    else
        bitmap = std::move(picture);
}
