// Micro-benchmarks of the program's own work, each beside the floor it is compared with.
// Run: build/bench/bench_quadrivo --benchmark_repetitions=15 --benchmark_report_aggregates_only=true
#include "ErrorDisplay.h"
#include "JpegImage.h"
#include "ProfileChart.h"
#include "Quadrivo1.h"
#include "Quadrivo1Profile.h"
#include "SampleTeam.h"
#include "WindowCapture.h"
#include "teamGLOBAL.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <csetjmp>
#include <cstring>
#include <memory>
#include <jpeglib.h>

namespace {

QTemporaryDir &Scratch()
{
    static QTemporaryDir dir;
    return dir;
}

void LoadSample()
{
    const QString path = Scratch().filePath(QStringLiteral("TEAM.dat"));
    SampleTeam().writeTo(path);
    ReadTeamFile(path);
    DataFileName = QFile::encodeName(path);
}

// A picture like a chart window's snapshot: the window drawn into an image of 808 x 580.
QImage WindowPicture()
{
    LoadSample();
    SelectedMember = 1;
    Tquadrivo1frm window;
    window.resize(806, 555);
    window.show();
    QImage picture(808, 580, QImage::Format_RGB32);
    picture.fill(QColor(70, 110, 170));   // a title bar's colour above the window
    QPainter painter(&picture);
    painter.drawPixmap(1, 20, window.grab());
    return picture;
}

void BM_ReadFileAndScoreAllViews(benchmark::State &state)
{
    const QString path = Scratch().filePath(QStringLiteral("TEAM.dat"));
    SampleTeam().writeTo(path);
    for (auto _ : state) {
        ReadTeamFile(path);
        for (std::uint8_t view : {1, 2, 3, 0}) {
            SelectedMember = view;
            ComputeProfile();
            benchmark::DoNotOptimize(ProfileScores);
        }
    }
}
BENCHMARK(BM_ReadFileAndScoreAllViews);

void BM_PaintChartPanel(benchmark::State &state)
{
    LoadSample();
    SelectedMember = 1;
    Tquadrivo1frm window;
    window.show();   // fills the chart as for a view
    QImage target(465, 534, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&target);
        window.Chart1->paintChart(painter, target.size());
        painter.end();
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_PaintChartPanel);

// From a view's start to its chart window painted once (offscreen: no window manager).
void BM_ViewOpenAndPaint(benchmark::State &state)
{
    LoadSample();
    for (auto _ : state) {
        Tquadrivo1frm window;
        SelectedMember = 1;
        window.show();
        QImage painted = window.grab().toImage();
        benchmark::DoNotOptimize(painted.constBits());
    }
}
BENCHMARK(BM_ViewOpenAndPaint)->Unit(benchmark::kMillisecond);

void BM_EncodeSnapshot(benchmark::State &state)
{
    const QImage picture = WindowPicture();
    for (auto _ : state) {
        JpegImage jpeg;
        jpeg.Assign(picture);
        benchmark::DoNotOptimize(jpeg.encoded().data());
    }
}
BENCHMARK(BM_EncodeSnapshot)->Unit(benchmark::kMillisecond);

// The floor: libjpeg alone, same settings, into its own memory buffer, from RGB rows.
void BM_BareLibjpegEncode(benchmark::State &state)
{
    const QImage rgb = WindowPicture().convertToFormat(QImage::Format_RGB888);
    for (auto _ : state) {
        jpeg_compress_struct c;
        jpeg_error_mgr err;
        c.err = jpeg_std_error(&err);
        jpeg_create_compress(&c);
        unsigned char *buffer = nullptr;
        unsigned long size = 0;
        jpeg_mem_dest(&c, &buffer, &size);
        c.image_width = JDIMENSION(rgb.width());
        c.image_height = JDIMENSION(rgb.height());
        c.input_components = 3;
        c.in_color_space = JCS_RGB;
        jpeg_set_defaults(&c);
        c.dct_method = JDCT_FLOAT;
        jpeg_set_quality(&c, 90, TRUE);
        jpeg_start_compress(&c, TRUE);
        while (c.next_scanline < c.image_height) {
            JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(int(c.next_scanline)));
            jpeg_write_scanlines(&c, &row, 1);
        }
        jpeg_finish_compress(&c);
        jpeg_destroy_compress(&c);
        benchmark::DoNotOptimize(buffer);
        std::free(buffer);
    }
}
BENCHMARK(BM_BareLibjpegEncode)->Unit(benchmark::kMillisecond);

// A snapshot's work beyond its 50 ms wait: capture, encode, save. Offscreen by default;
// under X (QT_QPA_PLATFORM=xcb) the capture reads the window back from the server.
void BM_CaptureEncodeSave(benchmark::State &state)
{
    LoadSample();
    SelectedMember = 1;
    Tquadrivo1frm window;
    window.show();
    QElapsedTimer settle;   // mapped, framed and painted
    settle.start();
    while (settle.elapsed() < 500)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    QImage bitmap;
    const QString target = Scratch().filePath(QStringLiteral("TEAM1.jpg"));
    for (auto _ : state) {
        FlushToScreen(&window);
        CaptureForegroundWindow(bitmap, 0, &window);
        JpegImage jpeg;
        jpeg.Assign(bitmap);
        jpeg.SaveToFile(target);
        bitmap = QImage();   // as when the window is destroyed: its picture released
    }
}
BENCHMARK(BM_CaptureEncodeSave)->Unit(benchmark::kMillisecond);

// The close button with snapshots wanted, from the press to the file written: the 50 ms
// wait included. Run under X (QT_QPA_PLATFORM=xcb) for the figure users see; the first
// iteration pays for setting up the capture's buffers.
void BM_CloseButtonToFile(benchmark::State &state)
{
    LoadSample();
    SelectedMember = 1;
    SaveGraphics = true;
    DataFileName = QFile::encodeName(Scratch().filePath(QStringLiteral("TEAM.dat")));
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<Tquadrivo1frm>();
        window->show();
        QElapsedTimer settle;
        settle.start();
        while (settle.elapsed() < 400)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        state.ResumeTiming();
        window->button_endeClick(window.get());
    }
    SaveGraphics = false;
}
BENCHMARK(BM_CloseButtonToFile)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(12);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
