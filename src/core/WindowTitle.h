// Text that goes into a window title, where window managers, panels and tools that print
// titles to a terminal all read it.
#pragma once

#include <QString>

// `text` with every control character (C0, DEL, C1, and NUL, which would cut the title)
// replaced by a visible stand-in, U+FFFD. Nothing else changes.
QString TitleSafe(const QString &text);
