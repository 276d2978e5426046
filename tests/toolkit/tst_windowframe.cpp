// Where a window's frame goes on the screen's available area.
#include "WindowFrame.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

TEST(PlaceOnScreen, CentresWhatFitsAndKeepsTheTitleBarOfWhatDoesNot)
{
    struct Case { const char *what; QSize outer; QRect available; QPoint expected; };
    const Case cases[] = {
        {"fits: centred", {808, 580}, {0, 0, 1280, 1024}, {236, 222}},
        {"fits exactly", {800, 600}, {0, 0, 800, 600}, {0, 0}},
        {"too wide: left edge, still centred in height", {808, 580}, {0, 0, 800, 600}, {0, 10}},
        {"too high above a bottom panel: top edge", {808, 580}, {0, 0, 1024, 570}, {108, 0}},
        {"too large both ways", {808, 580}, {0, 0, 640, 480}, {0, 0}},
        {"an area that does not start at 0 (a panel on top, a second screen)", {606, 364}, {1280, 30, 800, 300}, {1377, 30}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(PlaceOnScreen(c.outer, c.available), c.expected);
    }
}

} // namespace
