#include "ChartOutput.h"

#include "ProfileChart.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>

namespace {

constexpr qreal ScreenDpi = 96;   // the panel is laid out in pixels at 96 dots per inch

} // namespace

QImage ChartImage(const ProfileChart &chart)
{
    return chart.renderToImage(chart.size(), 2.0);
}

QByteArray ChartPng(const ProfileChart &chart)
{
    QImage image = ChartImage(chart);
    image.setDotsPerMeterX(int(2 * ScreenDpi / 0.0254 + 0.5));   // printed at the panel's own size
    image.setDotsPerMeterY(image.dotsPerMeterX());
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray ChartPdf(const ProfileChart &chart, const QString &title)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(int(ScreenDpi));   // one unit a pixel of the panel
        const QSizeF points = QSizeF(chart.size()) * (72.0 / ScreenDpi);
        pdf.setPageLayout(QPageLayout(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch),
                                      QPageLayout::Portrait, QMarginsF()));
        pdf.setTitle(title);
        pdf.setCreator(QStringLiteral("Velmarin-Auswertung"));
        QPainter painter(&pdf);
        chart.paintChart(painter, chart.size());
    }
    return bytes;
}

bool PaintChartOnPage(const ProfileChart &chart, QPagedPaintDevice &device)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const QRectF page = device.pageLayout().paintRectPixels(device.logicalDpiX());
    const QSizeF size = QSizeF(chart.size()) * (device.logicalDpiX() / ScreenDpi);
    const qreal scale = std::min(page.width() / size.width(), page.height() / size.height());
    const QSizeF drawn = size * scale;
    painter.translate((page.width() - drawn.width()) / 2, (page.height() - drawn.height()) / 2);
    painter.scale(drawn.width() / chart.width(), drawn.height() / chart.height());
    chart.paintChart(painter, chart.size());
    return painter.end();
}
