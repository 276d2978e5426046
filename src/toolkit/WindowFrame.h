// Outer window sizes: the size a window is designed for includes the frame and title bar
// that the window manager adds, which are known only once the window is on the screen.
#pragma once

#include <QFont>

#include <functional>
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QPalette>
#include <QSize>

class QWidget;

// Runs `action` once, with the frame's margins, as soon as the window manager has framed
// `window` (within about a second of its showing; never without a window manager).
void WhenFramed(QWidget *window, std::function<void(const QMargins &)> action);

// Sizes `window` so that its frame comes out at `outer`, centred on its screen. Call
// before the first show: the client area starts at `outer` and is shrunk by the frame
// as soon as the window manager reports it (once; later user resizes are left alone).
// Without a window manager the frame is empty and the client area keeps `outer`.
void PlaceWindowCentred(QWidget *window, QSize outer);

// Where a window's frame of size `outer` goes on a screen's `available` area: centred
// where it fits; where it does not, with its title bar and top-left corner on the area,
// never beyond its top or left edge. The window's size is left alone.
QPoint PlaceOnScreen(QSize outer, const QRect &available);

// Centres a frame of size `outer` around `window` on the available area of its screen, as
// PlaceOnScreen says.
void CentreFrame(QWidget *window, QSize outer);

// Puts the top-left corner of `window`'s frame at `topLeft`, shown or not, and corrects
// the position once the window manager has framed the window.
void MoveFrameTo(QWidget *window, QPoint topLeft);

// The frame the window manager puts around `window`: its own once shown, otherwise that
// of its owner or another shown window of the program (the same window manager frames
// them alike), or none.
QMargins ExpectedFrameMargins(QWidget *window);

// Gives the keyboard back to `window` after a modal window above it has closed. Window
// managers do not always do it (openbox may leave the active window on a box that is
// gone), and without one the X input focus falls to the root window, where keys do
// nothing: the window asks for the activation itself, which without a window manager
// sets the X input focus.
void ActivateAfterModal(QWidget *window);

// A font set by character height in pixels, as the windows are laid out at 96 dpi.
QFont PixelFont(const QString &family, int pixelSize, bool bold = false);

// The window font the forms are designed with.
QFont WindowFont();

class QPushButton;

// The fixed colours of both windows, whatever the desktop's palette: white form and
// fields, black texts, light grey buttons; at least 4.5:1 between every text and its ground.
QPalette FormPalette();

// What both windows share: their caption, the window font and their fixed colours.
void SetUpForm(QWidget *form, const QString &caption);

// The close button "S&chließen" with the exit glyph, at `geometry` in `form`.
QPushButton *MakeCloseButton(QWidget *form, const QRect &geometry);
