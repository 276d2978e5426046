// The chart window's snapshot on a real X server (Xvfb with a window manager, or
// XWayland): the picture is the window as shown, never black, at any scale factor, and
// parts of the window off the screen come from the window's own drawing. Run by
// run_on_display.sh, which starts the server; the snapshot is taken by the close button's
// own handler, not through input (XTEST crashes a headless XWayland).
#include "ImageBox.h"
#include "JpegImage.h"
#include "ProfileChart.h"
#include "Quadrivo1.h"
#include "SampleTeam.h"
#include "TempDir.h"
#include "teamGLOBAL.h"

#include <QFile>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <memory>

namespace {

QImage LoadJpeg(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? DecodeJpeg(f.readAll()) : QImage();
}

// Mean absolute difference per channel between `rendered` and the part of `shot` at
// `offset`, on a grid of samples `step` pixels apart; gives up above `limit`.
double Difference(const QImage &shot, const QImage &rendered, QPoint offset, int step, double limit = 1e9)
{
    if (!shot.rect().contains(QRect(offset, rendered.size())))
        return 1e9;
    double sum = 0;
    int n = 0;
    const int samples = ((rendered.height() + step - 1) / step) * ((rendered.width() + step - 1) / step) * 3;
    for (int y = 0; y < rendered.height(); y += step) {
        const auto *a = reinterpret_cast<const QRgb *>(shot.constScanLine(offset.y() + y)) + offset.x();
        const auto *b = reinterpret_cast<const QRgb *>(rendered.constScanLine(y));
        for (int x = 0; x < rendered.width(); x += step) {
            sum += std::abs(qRed(a[x]) - qRed(b[x])) + std::abs(qGreen(a[x]) - qGreen(b[x]))
                + std::abs(qBlue(a[x]) - qBlue(b[x]));
            n += 3;
        }
        if (sum / samples > limit)
            return 1e9;
    }
    return n ? sum / n : 1e9;
}

struct Match {
    QPoint offset;
    double difference = 1e9;
};

// Where in the snapshot the chart panel, as the window itself draws it, stands best.
Match FindChart(const QImage &shot, const QImage &chart, QPoint around)
{
    const QImage picture = shot.convertToFormat(QImage::Format_RGB32);
    Match best;
    for (int dy = -80; dy <= 80; ++dy)
        for (int dx = -80; dx <= 80; ++dx) {
            const QPoint offset = around + QPoint(dx, dy);
            const double d = Difference(picture, chart, offset, 11, best.difference);
            if (d < best.difference)
                best = {offset, d};
        }
    best.difference = Difference(picture, chart, best.offset, 2);
    return best;
}

double DarkShare(const QImage &shot, const QRect &area)
{
    int dark = 0, all = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x, ++all)
            dark += qGray(shot.pixel(x, y)) < 24;
    return all ? double(dark) / all : 1.0;
}

class Snapshot : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetTeamGlobals();
        ASSERT_TRUE(SampleTeam().writeTo(dir.path(QStringLiteral("TEAM.dat"))));
        ASSERT_EQ(ReadTeamFile(dir.path(QStringLiteral("TEAM.dat"))), 0);
        DataFileName = QFile::encodeName(dir.path(QStringLiteral("TEAM.dat")));
        SaveGraphics = true;
    }

    // Opens member 1's window, lets the window manager frame and place it, runs `place`,
    // presses the close button, and returns the chart as the window draws it and the
    // snapshot file's picture.
    std::pair<QImage, QImage> snapshot(const std::function<void(Tquadrivo1frm &)> &place = {})
    {
        auto w = std::make_unique<Tquadrivo1frm>();
        SelectedMember = 1;
        w->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        QTest::qWait(400);   // the frame reported and fitted
        if (place) {
            place(*w);
            QTest::qWait(400);
        }
        const QImage chart = w->Chart1->grab().toImage().convertToFormat(QImage::Format_RGB32);
        w->button_ende->click();
        return {chart, LoadJpeg(dir.path(QStringLiteral("TEAM1.jpg")))};
    }

    TempDir dir;
};

TEST_F(Snapshot, IsTheWindowAsShown)
{
    const auto [chart, shot] = snapshot();
    ASSERT_FALSE(shot.isNull());
    const qreal ratio = qApp->devicePixelRatio();
    const QSize client = (QSizeF(Tquadrivo1frm::OuterSize) * ratio).toSize();
    EXPECT_GE(shot.width(), client.width() * 9 / 10);
    EXPECT_GE(shot.height(), client.height() * 9 / 10);
    EXPECT_LT(DarkShare(shot, shot.rect()), 0.05) << "the picture is black";

    // The chart panel stands where the window puts it, below the title bar, pixel for pixel.
    const QPoint designed = (QPointF(112, 11) * ratio).toPoint();
    const Match m = FindChart(shot, chart, designed);
    EXPECT_LT(m.difference, 4.0) << "the chart panel is not in the picture";
    if (qEnvironmentVariableIsSet("CAPTURE_NO_FRAME")) {   // no window manager: the window alone
        EXPECT_EQ(m.offset, designed);
        EXPECT_EQ(shot.size(), client);
    } else {
        EXPECT_GT(m.offset.y(), designed.y()) << "no title bar above the window";
    }
    if (!qEnvironmentVariableIsEmpty("KEEP_SNAPSHOT")) shot.save(qEnvironmentVariable("KEEP_SNAPSHOT"));
}

TEST_F(Snapshot, PartsOffTheScreenComeFromTheWindowsDrawing)
{
    const auto [chart, shot] = snapshot([](Tquadrivo1frm &w) {
        // Half of the window beyond the screen's right edge.
        const QRect screen = w.screen()->geometry();
        w.move(screen.right() - w.frameGeometry().width() / 2, w.y());
    });
    ASSERT_FALSE(shot.isNull());
    const QRect rightHalf(shot.width() / 2 + 10, 40, shot.width() / 2 - 20, shot.height() - 60);
    EXPECT_LT(DarkShare(shot, rightHalf), 0.05) << "black where the window is off the screen";
    const qreal ratio = qApp->devicePixelRatio();
    EXPECT_LT(FindChart(shot, chart, (QPointF(112, 11) * ratio).toPoint()).difference, 4.0);
}

} // namespace
