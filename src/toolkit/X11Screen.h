// Reading a top-level window's outer rectangle back from the X server.
#pragma once

#include <QImage>
#include <QMargins>
#include <QPoint>
#include <QRegion>

#include <optional>

class QWidget;

// What the X server shows of a window's outer rectangle (frame and title bar included),
// in device pixels.
struct ScreenPicture {
    QImage image;          // Format_RGB32, the outer rectangle's size
    QRegion unread;        // parts of `image` the server could not give (off the screen)
    QPoint clientOffset;   // where the window's client area starts in `image`
};

// Reads the outer rectangle of `window` from the window that holds it on the screen (the
// window manager's frame, or the window itself without one), not from the root window,
// which some servers (XWayland) cannot read. The frame is the rectangle the window
// manager reports in _NET_FRAME_EXTENTS; without that report, the frame window's opaque
// part. Uses a shared-memory segment kept for the process where the server offers one,
// so the picture usually wraps that segment without a copy: it is valid until the next
// call. No value where the program does not run on X11 or the server refuses the read.
std::optional<ScreenPicture> ReadOuterRectangle(QWidget *window);

// The frame the window manager will put around `window` before it is shown: asks with
// _NET_REQUEST_FRAME_EXTENTS where the window manager offers it and waits briefly for
// the answer. No value without X11, such a window manager, or an answer in time.
std::optional<QMargins> AskFrameExtents(QWidget *window);

// Asks the window manager to put the top-left corner of `window`'s frame at `topLeft`
// (logical pixels) with _NET_MOVERESIZE_WINDOW, whose meaning every window manager that
// offers it shares; does nothing where the frame is there already. False where that
// cannot be asked: not X11, not framed yet, or no such window manager.
bool MoveFrameOnX11(QWidget *window, QPoint topLeft);

// Has the X server fill `window` with white wherever the program has not painted yet, as
// on its mapping, before the first paint (Qt leaves that area to show what lay beneath).
// Only for windows of the usual 24-bit depth; does nothing without X11.
void PaintWhiteUntilDrawn(QWidget *window);
