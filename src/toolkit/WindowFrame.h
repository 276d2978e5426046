// Outer window sizes: the size a window is designed for includes the frame and title bar
// that the window manager adds, which are known only once the window is on the screen.
#pragma once

#include <QFont>
#include <QPalette>
#include <QSize>

class QWidget;

// Sizes `window` so that its frame comes out at `outer`, centred on its screen. Call
// before the first show: the client area starts at `outer` and is shrunk by the frame
// as soon as the window manager reports it (once; later user resizes are left alone).
// Without a window manager the frame is empty and the client area keeps `outer`.
void PlaceWindowCentred(QWidget *window, QSize outer);

// A font set by character height in pixels, as the windows are laid out at 96 dpi.
QFont PixelFont(const QString &family, int pixelSize, bool bold = false);

// The window font the forms are designed with.
QFont WindowFont();

class QPushButton;
class QRect;

// The fixed colours of both windows, whatever the desktop's palette: white form and
// fields, black texts, light grey buttons; at least 4.5:1 between every text and its ground.
QPalette FormPalette();

// What both windows share: their caption, the window font and their fixed colours.
void SetUpForm(QWidget *form, const QString &caption);

// The close button "S&chließen" with the exit glyph, at `geometry` in `form`.
QPushButton *MakeCloseButton(QWidget *form, const QRect &geometry);
