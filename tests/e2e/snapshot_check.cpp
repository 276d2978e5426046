// Checks a chart window snapshot as the end-to-end test sees it:
//   snapshot_check SNAPSHOT.jpg TEAM.dat MEMBER
// The picture must be 808 x 580 with a title bar, no close button, and the navy profile
// where the scores of that view (computed from the data file) put its corners. The cross
// found in the picture gives the scale. Prints what is wrong and exits 1, else exits 0.
#include "JpegImage.h"
#include "Quadrivo1Profile.h"
#include "teamGLOBAL.h"

#include <QFile>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

namespace {

int failures = 0;

void Check(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "snapshot_check: %s\n", what);
        ++failures;
    }
}

bool Near(QRgb c, int r, int g, int b, int tolerance)
{
    return std::abs(qRed(c) - r) <= tolerance && std::abs(qGreen(c) - g) <= tolerance && std::abs(qBlue(c) - b) <= tolerance;
}

bool IsGrey(QRgb c) { return Near(c, 128, 128, 128, 30); }
bool IsNavy(QRgb c) { return qBlue(c) > 70 && qRed(c) < 80 && qGreen(c) < 80; }

bool NavyNear(const QImage &image, QPoint p)
{
    for (int dy = -3; dy <= 3; ++dy)
        for (int dx = -3; dx <= 3; ++dx)
            if (image.rect().contains(p + QPoint(dx, dy)) && IsNavy(image.pixel(p + QPoint(dx, dy))))
                return true;
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: snapshot_check SNAPSHOT.jpg TEAM.dat MEMBER\n");
        return 2;
    }
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "snapshot_check: cannot open %s\n", argv[1]);
        return 1;
    }
    const QImage image = DecodeJpeg(file.readAll()).convertToFormat(QImage::Format_RGB32);
    if (image.size() != QSize(808, 580)) {
        std::fprintf(stderr, "snapshot_check: picture is %dx%d, not 808x580\n", image.width(), image.height());
        return 1;
    }
    if (ReadTeamFile(QString::fromLocal8Bit(argv[2])) != 0) {
        std::fprintf(stderr, "snapshot_check: cannot read %s\n", argv[2]);
        return 2;
    }
    SelectedMember = std::uint8_t(std::atoi(argv[3]));
    ComputeProfile();

    // The window manager's title bar across the top: not the white of the window.
    int titleInk = 0;
    for (int x = 0; x < 808; ++x)
        titleInk += !Near(image.pixel(x, 10), 255, 255, 255, 10);
    Check(titleInk > 600, "no title bar across the top");

    // The grey cross: its vertical line is the grey column in the chart's lower part.
    const int midY = 350;
    int cx = -1;
    for (int x = 150; x < 600 && cx < 0; ++x)
        if (IsGrey(image.pixel(x, midY + 100)) && IsGrey(image.pixel(x, midY + 101)))
            cx = x;
    int cy = -1;
    for (int y = 60; y < 560 && cy < 0; ++y)
        if (IsGrey(image.pixel(cx - 70, y)) && IsGrey(image.pixel(cx - 71, y)))   // between two ticks
            cy = y;
    if (cx < 0 || cy < 0) {
        std::fprintf(stderr, "snapshot_check: no grey cross found\n");
        return 1;
    }
    int top = cy, right = cx;   // the ends of the cross lie at 16 units
    while (top > 0 && (IsGrey(image.pixel(cx, top - 1)) || !Near(image.pixel(cx, top - 1), 255, 251, 240, 40)))
        --top;
    while (right < 807 && (IsGrey(image.pixel(right + 1, cy)) || !Near(image.pixel(right + 1, cy), 255, 251, 240, 40)))
        ++right;
    const double unitY = (cy - top) / 16.0, unitX = (right - cx) / 16.0;
    Check(unitY > 10 && unitX > 10, "the cross is too small");

    const auto at = [&](double x, double y) { return QPoint(int(cx + x * unitX + 0.5), int(cy - y * unitY + 0.5)); };
    const double d = ProfileScores.ScoreDauer, n = ProfileScores.ScoreNaehe, w = ProfileScores.ScoreWechsel,
                 s = ProfileScores.ScoreDistanz;
    const QPointF corners[] = {{0, d}, {s, 0}, {0, -w}, {-n, 0}, {0, d}};
    for (int e = 0; e < 4; ++e)
        for (double t : {0.1, 0.5, 0.9}) {
            const QPointF v = corners[e] + (corners[e + 1] - corners[e]) * t;
            if (std::abs(v.x()) <= 16.5 && std::abs(v.y()) <= 16.5 && (d + n + w + s) > 0)
                Check(NavyNear(image, at(v.x(), v.y())), "the profile misses a point of an edge");
        }

    // No close button: its area (client 640,304 113x33, below a frame of 1/20) is white.
    int buttonInk = 0;
    for (int y = 304 + 20; y < 337 + 20; ++y)
        for (int x = 640 + 1; x < 753 + 1; ++x)
            buttonInk += !Near(image.pixel(x, y), 255, 255, 255, 24);
    Check(buttonInk == 0, "the close button is in the picture");

    std::printf("snapshot_check: scores %d/%d/%d/%d, cross at %d,%d, %s\n", int(d), int(n), int(w), int(s), cx, cy,
                failures ? "FAILED" : "ok");
    return failures ? 1 : 0;
}
