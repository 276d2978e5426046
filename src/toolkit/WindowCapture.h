// Screen capture of a window's outer rectangle, frame and title bar included.
#pragma once

#include <QImage>

#include <cstdint>

class QWidget;

// Fills `bitmap` with the pixels the screen shows in the outer rectangle of `window`
// (the rectangle of its frame, at the screen's native resolution), less
// `rowsToLeaveOff` rows at the bottom. Only the window's own rectangle is read, never
// another window that happens to have the focus. Where the screen cannot be read, the
// window draws its outer picture itself (see RenderOuterPicture).
void CaptureForegroundWindow(QImage &bitmap, std::uint16_t rowsToLeaveOff, QWidget *window);

// The outer picture drawn by the program: a title bar with the caption and a border
// painted by the style around the window's own rendering, at the frame's size.
QImage RenderOuterPicture(QWidget *window);

// Makes sure what the window last painted has reached the window system before its
// pixels are read back.
void FlushToScreen(QWidget *window);
