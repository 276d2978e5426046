// The program's own pictures: logo, close-button glyph, application icon.
#pragma once

#include <QIcon>
#include <QImage>

// The 400 x 334 logo, decoded once.
const QImage &LogoPicture();
// The close buttons' glyph: an open door under a green exit sign, with a greyed copy
// for the disabled state.
QIcon ExitButtonIcon();
QIcon ApplicationIcon();
