// The chart panel, rendered offscreen and checked by the geometry of what it draws.
#include "ProfileChart.h"
#include "Quadrivo1.h"
#include "Quadrivo1Profile.h"
#include "TeamRecordBuilder.h"
#include "teamGLOBAL.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <ostream>

namespace {

const QSize ChartSize(465, 534);

bool Is(const QImage &image, QPoint p, const QColor &c)
{
    return image.rect().contains(p) && image.pixelColor(p) == c;
}

int CountColour(const QImage &image, const QColor &c, const QRect &within)
{
    int n = 0;
    for (int y = within.top(); y <= within.bottom(); ++y)
        for (int x = within.left(); x <= within.right(); ++x)
            n += image.pixelColor(x, y) == c;
    return n;
}

// Pixel of an axis value, computed here from the plotting rectangle: -17..17 spans its
// first to last pixel, y upwards.
QPoint Pixel(const QRect &plot, double x, double y)
{
    return QPoint(int(std::lround(plot.left() + (x + 17) / 34 * (plot.width() - 1))),
                  int(std::lround(plot.bottom() - (y + 17) / 34 * (plot.height() - 1))));
}

TEST(ChartPanel, PlottingRectangleIsWhatMarginsTitleAndFooterLeave)
{
    ProfileChart chart;
    chart.Title() = QStringList{QStringLiteral("Erste Zeile"), QStringLiteral("Zweite Zeile")};
    chart.setFoot(QStringLiteral("Fußzeile"));
    chart.setAxisVisible(false);
    chart.setFrameColor(Qt::red);
    const QImage image = chart.renderToImage(ChartSize);
    const QRect plot = chart.plotRect(ChartSize);

    // The red frame: 2 px, on the rectangle's outermost pixels and one outside.
    const int midY = plot.center().y(), midX = plot.center().x();
    EXPECT_TRUE(Is(image, {plot.left() - 1, midY}, Qt::red) && Is(image, {plot.left(), midY}, Qt::red));
    EXPECT_FALSE(Is(image, {plot.left() - 2, midY}, Qt::red) || Is(image, {plot.left() + 1, midY}, Qt::red));
    EXPECT_TRUE(Is(image, {plot.right(), midY}, Qt::red) && Is(image, {plot.right() + 1, midY}, Qt::red));
    EXPECT_TRUE(Is(image, {midX, plot.top() - 1}, Qt::red) && Is(image, {midX, plot.bottom() + 1}, Qt::red));
    // Margins of 3 % of width and height inside the 3-pixel edge.
    EXPECT_EQ(plot.left() - 1, 3 + 14);          // 3 % of 465
    EXPECT_EQ(plot.right() + 1, 465 - 1 - 3 - 14);
    // Not filled: the cream panel shows inside.
    EXPECT_EQ(image.pixelColor(plot.center()), ChartColors::Cream);

    // Both title lines (navy) lie above the rectangle, the footer (black) below it.
    const QRect above(0, 0, 465, plot.top() - 1), below(0, plot.bottom() + 2, 465, 534 - plot.bottom() - 2);
    EXPECT_GT(CountColour(image, ChartColors::Navy, above), 0);
    EXPECT_EQ(CountColour(image, ChartColors::Navy, plot), 0);
    int footInk = 0;
    for (int y = below.top(); y < below.bottom() - 3; ++y)
        for (int x = 3; x < 462; ++x)
            footInk += qGray(image.pixel(x, y)) < 80;
    EXPECT_GT(footInk, 20);
    const int lineHeight = QFontMetrics(chart.titleFont()).height();
    EXPECT_GE(plot.top() - 1, 3 + 16 + 2 * lineHeight);   // 3 % of 534 is 16
    // Each title line is centred by itself: the short line's navy pixels are centred too.
    int left = 465, right = 0;
    for (int y = 3 + 16 + lineHeight; y < 3 + 16 + 2 * lineHeight; ++y)
        for (int x = 0; x < 465; ++x)
            if (image.pixelColor(x, y) == ChartColors::Navy) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    EXPECT_NEAR((left + right) / 2.0, 465 / 2.0, 3.0);
}

TEST(ChartPanel, PanelHasSunkenBorderAndRaisedBevel)
{
    ProfileChart chart;
    const QImage image = chart.renderToImage(ChartSize);
    // Sunken: dark at top-left, light at bottom-right; the bevel inside it the other way round.
    EXPECT_LT(qGray(image.pixel(0, 100)), qGray(image.pixel(464, 100)));
    EXPECT_LT(qGray(image.pixel(1, 100)), qGray(image.pixel(463, 100)));
    EXPECT_GT(qGray(image.pixel(2, 100)), qGray(image.pixel(462, 100)));
    EXPECT_EQ(image.pixelColor(3, 100), ChartColors::Cream);
}

TEST(ChartPanel, LinesAreClippedAndSingleOrEmptySeriesDrawNothing)
{
    ProfileChart chart;
    chart.setAxisVisible(false);
    chart.setFrameColor(ChartColors::White);
    chart.AddSeries(ChartSeries::Kind::Line);                                // empty
    chart.AddSeries(ChartSeries::Kind::FastLine)->AddXY(3, 3);               // one point
    ChartSeries *zero = chart.AddSeries(ChartSeries::Kind::Line);            // zero length
    zero->AddXY(5, 5, {}, Qt::red);
    zero->AddXY(5, 5, {}, Qt::red);
    const QImage empty = chart.renderToImage(ChartSize);
    const QRect plot = chart.plotRect(ChartSize);
    const QRect inside = plot.adjusted(1, 1, -1, -1);   // the frame covers the outermost pixels
    EXPECT_EQ(CountColour(empty, ChartColors::Cream, inside), inside.width() * inside.height());

    ChartSeries *far = chart.AddSeries(ChartSeries::Kind::Line);
    far->AddXY(0, 0, {}, Qt::red);
    far->AddXY(1000, 0, {}, Qt::red);
    const QImage image = chart.renderToImage(ChartSize);
    const QPoint centre = Pixel(plot, 0, 0);
    EXPECT_TRUE(Is(image, {plot.right(), centre.y()}, Qt::red));
    EXPECT_EQ(CountColour(image, Qt::red, QRect(plot.right() + 1, 0, 465 - plot.right() - 1, 534)), 0);
}

TEST(ChartPanel, MarkBoxIsCentredAboveItsPointAndCoversWhatLiesBeneath)
{
    ProfileChart chart;
    chart.setAxisVisible(false);
    const QRect plot = chart.plotRect(ChartSize);
    // A red line drawn first, through the row where the box will stand.
    const QPoint anchor = Pixel(plot, 2, 0);
    ChartSeries *line = chart.AddSeries(ChartSeries::Kind::FastLine);
    line->setPenColor(Qt::red);
    ChartSeries *mark = chart.AddSeries(ChartSeries::Kind::FastLine);
    mark->setMarksVisible(true);
    const QFontMetrics markMetrics(mark->markFont());
    const int rowY = anchor.y() - 8 - markMetrics.height() / 2;
    const double rowValue = 17 - 34.0 * (rowY - plot.top()) / (plot.height() - 1);
    line->AddXY(-17, rowValue);
    line->AddXY(17, rowValue);
    mark->AddXY(2, 0, QStringLiteral("Wechsel"));
    const QImage image = chart.renderToImage(ChartSize);

    const int width = markMetrics.horizontalAdvance(QStringLiteral("Wechsel")) + markMetrics.horizontalAdvance(QLatin1Char('W'));
    const int left = anchor.x() - width / 2, right = left + width - 1;
    ASSERT_EQ(image.pixelColor(left - 1, rowY), QColor(Qt::red));
    EXPECT_NE(image.pixelColor(left, rowY), QColor(Qt::red));
    EXPECT_NE(image.pixelColor(right, rowY), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(right + 1, rowY), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(left, rowY), ChartColors::Cream);   // no border
    // As high as one text line, its lower edge 8 px above the point; no arrow below it.
    EXPECT_EQ(image.pixelColor(left, anchor.y() - 9), ChartColors::Cream);
    EXPECT_EQ(image.pixelColor(left, anchor.y() - 9 - markMetrics.height() + 1), ChartColors::Cream);
    for (int y = anchor.y() - 8; y <= anchor.y(); ++y)
        EXPECT_EQ(image.pixelColor(anchor.x(), y), ChartColors::Cream) << y;
}

TEST(ChartPanel, SharpAtTwiceTheDensity)
{
    // Painted for a device pixel ratio of 2, not a 96-dpi picture scaled up: a 1-pixel
    // line covers exactly two device pixels in its own colour, with nothing blurred beside it.
    ProfileChart chart;
    chart.setAxisVisible(false);
    ChartSeries *axis = chart.AddSeries(ChartSeries::Kind::Line);
    axis->AddXY(0, -16, {}, ChartColors::Grey);
    axis->AddXY(0, 16, {}, ChartColors::Grey);
    const QImage image = chart.renderToImage(ChartSize, 2.0);
    ASSERT_EQ(image.size(), ChartSize * 2);
    const QRect plot = chart.plotRect(ChartSize);
    const int y = image.height() / 2 + 40;
    QList<int> greyColumns;
    for (int x = 2 * plot.left() + 2; x < 2 * plot.right(); ++x) {
        const QColor c = image.pixelColor(x, y);
        EXPECT_TRUE(c == ChartColors::Grey || c == ChartColors::Cream) << "blurred pixel at " << x;
        if (c == ChartColors::Grey)
            greyColumns << x;
    }
    ASSERT_EQ(greyColumns.size(), 2);
    EXPECT_EQ(greyColumns[1], greyColumns[0] + 1);
    EXPECT_EQ(image.pixelColor(greyColumns[0] - 1, y), ChartColors::Cream);
    EXPECT_EQ(image.pixelColor(greyColumns[1] + 1, y), ChartColors::Cream);
}

// The chart as the profile window draws it, for one set of scores.
struct ProfileCase {
    const char *name;
    std::array<int, 4> scores;   // Dauer, Nähe, Wechsel, Distanz
    friend std::ostream &operator<<(std::ostream &os, const ProfileCase &c) { return os << c.name; }
};

class ProfilePicture : public ::testing::TestWithParam<ProfileCase>
{
protected:
    void SetUp() override
    {
        ResetTeamGlobals();
        // Member 1's answers 1 to 4 give the four scores exactly.
        TeamRecordBuilder team;
        team.count(1).name(1, "Test");
        for (int d = 0; d < 4; ++d)
            team.answer(1, d + 1, GetParam().scores[std::size_t(d)]);
        const QByteArray bytes = team.bytes();
        std::memcpy(TeamData.bytes.data(), bytes.constData(), TeamData.bytes.size());
        SelectedMember = 1;
        window = std::make_unique<Tquadrivo1frm>();
        window->show();   // the first activation draws the chart
        image = window->Chart1->renderToImage(ChartSize);
        plot = window->Chart1->plotRect(ChartSize);
    }

    std::unique_ptr<Tquadrivo1frm> window;
    QImage image;
    QRect plot;
};

TEST_P(ProfilePicture, CrossTicksAndLabelsStayWhateverTheScores)
{
    const QPoint c = Pixel(plot, 0, 0);
    // The grey cross from -16 to 16 on both axes, and nothing of it beyond.
    for (int v = -16; v <= 16; ++v) {
        const QPoint vertical = Pixel(plot, 0, v), horizontal = Pixel(plot, v, 0);
        // Drawn later, ticks cover the cross where they meet it, and the profile may cross it.
        const QColor tickOrAxis = v % 4 == 0 && v != 0 ? ChartColors::Silver : ChartColors::Grey;
        const auto onCross = [&](QPoint p) {
            const QColor got = image.pixelColor(p);
            return got == tickOrAxis || got == ChartColors::Navy;
        };
        EXPECT_TRUE(onCross(vertical)) << "y " << v;
        EXPECT_TRUE(onCross(horizontal)) << "x " << v;
    }
    EXPECT_NE(image.pixelColor(Pixel(plot, 0, 16).x(), Pixel(plot, 0, 16).y() - 3), ChartColors::Grey);
    EXPECT_NE(image.pixelColor(Pixel(plot, -16, 0).x() - 3, c.y()), ChartColors::Grey);
    // Silver ticks at every fourth unit, one unit to each side of the axis.
    for (int v : {-16, -12, -8, -4, 4, 8, 12}) {
        const QPoint tickOnY = Pixel(plot, -1, v), tickOnX = Pixel(plot, v, -1);
        for (QPoint p : {QPoint(tickOnY.x() + 1, tickOnY.y()), QPoint(tickOnX.x(), tickOnX.y() - 1)}) {
            const QColor got = image.pixelColor(p);
            EXPECT_TRUE(got == ChartColors::Silver || got == ChartColors::Navy) << v;
        }
    }
    // The four labels in cream boxes: centred on their point, bottom edge 8 px above it,
    // as wide as the text plus a "W", as high as a line; black text inside.
    const QFont font = window->Series27->markFont();
    const QFontMetrics fm(font);
    struct Label { QString text; double x, y; };
    const Label labels[] = {{QStringLiteral("Distanz"), 16, 0}, {QStringLiteral("Nähe"), -16, 0},
                            {QStringLiteral("Dauer"), 3, 15}, {QStringLiteral("Wechsel"), 3, -17}};
    for (const Label &l : labels) {
        SCOPED_TRACE(l.text.toStdString());
        const QPoint anchor = Pixel(plot, l.x, l.y);
        const int w = fm.horizontalAdvance(l.text) + fm.horizontalAdvance(QLatin1Char('W'));
        const QRect box(anchor.x() - w / 2, anchor.y() - 8 - fm.height(), w, fm.height());
        int ink = 0;
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                ink += qGray(image.pixel(x, y)) < 100;
        EXPECT_GT(ink, 10);
        // Nothing of the lines beneath shows through the box.
        EXPECT_EQ(CountColour(image, ChartColors::Silver, box) + CountColour(image, ChartColors::Grey, box)
                      + CountColour(image, ChartColors::Navy, box), 0);
    }
}

TEST_P(ProfilePicture, QuadrilateralRunsThroughTheScores)
{
    const auto &s = GetParam().scores;
    if (s == std::array<int, 4>{}) {
        EXPECT_EQ(CountColour(image, ChartColors::Navy, plot.adjusted(0, 1, 0, 0)), 0);   // all in the centre
        return;
    }
    const QPointF top(0, s[0]), right(s[3], 0), bottom(0, -s[2]), left(-s[1], 0);
    const QPointF corners[] = {top, right, bottom, left, top};
    for (int e = 0; e < 4; ++e) {
        for (double t : {0.0, 0.25, 0.5, 0.75, 1.0}) {
            const QPointF v = corners[e] + (corners[e + 1] - corners[e]) * t;
            const QPoint p = Pixel(plot, v.x(), v.y());
            if (!plot.contains(p))
                continue;   // cut at the border
            // A 2-px line: navy at the point or its neighbour, unless a label covers it.
            int navy = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    navy += Is(image, p + QPoint(dx, dy), ChartColors::Navy);
            const bool covered = image.pixelColor(p) == ChartColors::Cream && navy == 0;
            EXPECT_TRUE(navy > 0 || covered) << "edge " << e << " t " << t;
        }
    }
    // Nothing navy outside the plotting rectangle: the edges are cut at its border.
    const QRect all(0, 0, 465, 534);
    EXPECT_EQ(CountColour(image, ChartColors::Navy, all) - CountColour(image, ChartColors::Navy, plot),
              CountColour(image, ChartColors::Navy, QRect(0, 0, 465, plot.top() - 1)));   // the title's ink only
}

TEST_P(ProfilePicture, LabelBoxCoversTheTickBeneathIt)
{
    // "Nähe" sits above the left end of the cross: its box ends 8 px above the axis, so
    // the tick at -16 shows up to there and is covered above.
    const QPoint end = Pixel(plot, -16, 0);
    EXPECT_EQ(image.pixelColor(end.x(), end.y() - 8), ChartColors::Silver);
    EXPECT_EQ(image.pixelColor(end.x(), end.y() - 9), ChartColors::Cream);
    EXPECT_EQ(image.pixelColor(end.x(), Pixel(plot, -16, 1).y()), ChartColors::Cream);
}

INSTANTIATE_TEST_SUITE_P(
    Scores, ProfilePicture,
    ::testing::Values(ProfileCase{"allZero", {0, 0, 0, 0}}, ProfileCase{"workedExampleTeam", {9, 8, 6, 8}},
                      ProfileCase{"outermostTick", {16, 16, 16, 16}}, ProfileCase{"onTheBorder", {17, 5, 17, 5}},
                      ProfileCase{"farBeyond", {65535, 3, 4, 1000}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ProfilePictureVertices, SixteenAndSeventeenLandOnTickAndBorder)
{
    ResetTeamGlobals();
    TeamRecordBuilder team;
    team.answer(1, 1, 16).answer(1, 4, 17);   // Dauer 16, Distanz 17
    const QByteArray bytes = team.bytes();
    std::memcpy(TeamData.bytes.data(), bytes.constData(), TeamData.bytes.size());
    SelectedMember = 1;
    Tquadrivo1frm window;
    window.show();
    const QImage image = window.Chart1->renderToImage(ChartSize);
    const QRect plot = window.Chart1->plotRect(ChartSize);
    const QPoint tick16 = Pixel(plot, 0, 16);
    EXPECT_TRUE(Is(image, tick16, ChartColors::Navy) || Is(image, tick16 + QPoint(0, 1), ChartColors::Navy));
    const QPoint border = Pixel(plot, 17, 0);
    EXPECT_EQ(border.x(), plot.right());
    EXPECT_TRUE(Is(image, border, ChartColors::Navy) || Is(image, border + QPoint(0, -1), ChartColors::Navy));
}

} // namespace
