// Screen capture of a window's outer rectangle, frame and title bar included.
#pragma once

#include <QImage>

#include <cstdint>
#include <stdexcept>

class QWidget;

// No picture of the window could be made at all.
class CaptureError : public std::runtime_error
{
public:
    CaptureError();
};

// Fills `bitmap` with the pixels the screen shows in the outer rectangle of `window`
// (the rectangle of its frame, in device pixels), less `rowsToLeaveOff` rows at the
// bottom. Only the window's own rectangle is read, never another window that happens
// to have the focus. On X11 the pixels come from the window that holds it on the screen
// (see ReadOuterRectangle); parts the server cannot give (off the screen) come from the
// window's own drawing. Where the screen cannot be read at all (Wayland, or a server
// that gives back nothing but black), the window draws its whole outer picture itself.
// Throws CaptureError when no picture can be made.
void CaptureForegroundWindow(QImage &bitmap, std::uint16_t rowsToLeaveOff, QWidget *window);

// The outer picture drawn by the program: a title bar with the caption and a border
// painted by the style around the window's own rendering, at the frame's size.
QImage RenderOuterPicture(QWidget *window);
// The same at a given outer size in device pixels, the client area at `clientOffset`.
QImage RenderOuterPicture(QWidget *window, QSize outer, QPoint clientOffset);

// Sets up what a capture of `window` needs (on X11 the shared-memory segment, its pages
// and the server's side of it) without taking the picture, so that a capture right after
// costs only the read itself.
void PrepareCapture(QWidget *window);

// Makes sure what the window last painted has reached the window system before its
// pixels are read back.
void FlushToScreen(QWidget *window);
