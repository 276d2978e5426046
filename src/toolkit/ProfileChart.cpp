#include "ProfileChart.h"

#include "WindowFrame.h"

#include <QFontMetrics>
#include <QPainter>

#include <cmath>

namespace {

constexpr int TitleGap = 4;   // between the title or footer and the plotting rectangle
constexpr int AxisTickLength = 4;

QColor SegmentColor(const ChartSeries &series, const ChartSeries::Point &end)
{
    return end.color.isValid() ? end.color : series.penColor();
}

} // namespace

ChartSeries::ChartSeries(Kind kind) : m_kind(kind)
{
    m_markFont = PixelFont(QStringLiteral("Arial"), 12);
}

void ChartSeries::AddXY(double x, double y, const QString &label, const QColor &color)
{
    m_points.push_back(Point{x, y, label, color});
}

ProfileChart::ProfileChart(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

ProfileChart::~ProfileChart() = default;

ChartSeries *ProfileChart::AddSeries(ChartSeries::Kind kind)
{
    m_series.push_back(std::make_unique<ChartSeries>(kind));
    return m_series.back().get();
}

QFont ProfileChart::titleFont() const { return PixelFont(QStringLiteral("Arial"), 13, true); }
QFont ProfileChart::footFont() const { return PixelFont(QStringLiteral("Arial"), 11); }

QRect ProfileChart::contentRect(QSize size) const
{
    const int mx = int(std::lround(size.width() * MarginPercent / 100.0));
    const int my = int(std::lround(size.height() * MarginPercent / 100.0));
    return QRect(QPoint(0, 0), size).adjusted(EdgeWidth + mx, EdgeWidth + my, -EdgeWidth - mx, -EdgeWidth - my);
}

QRect ProfileChart::plotRect(QSize size) const
{
    const QRect area = contentRect(size);
    int top = area.top();
    if (!m_title.isEmpty())
        top += int(m_title.size()) * QFontMetrics(titleFont()).height() + TitleGap;
    int bottom = area.bottom();
    if (!m_foot.isEmpty())
        bottom -= QFontMetrics(footFont()).height() + TitleGap;
    // The frame lies on the rectangle's outermost pixels and one pixel outside them.
    return QRect(QPoint(area.left() + 1, top + 1), QPoint(area.right() - 1, bottom - 1));
}

QPoint ProfileChart::toPixel(const QRect &plot, double x, double y)
{
    const double span = AxisMaximum - AxisMinimum;
    const double px = plot.left() + (x - AxisMinimum) * (plot.width() - 1) / span;
    const double py = plot.bottom() - (y - AxisMinimum) * (plot.height() - 1) / span;
    return QPoint(int(std::lround(px)), int(std::lround(py)));
}

QRect ProfileChart::markRect(const QFont &font, const QString &label, QPoint anchor, int arrowLength)
{
    const QFontMetrics fm(font);
    const int w = fm.horizontalAdvance(label) + fm.horizontalAdvance(QLatin1Char('W'));
    const int h = fm.height();
    const int bottom = anchor.y() - arrowLength;   // the box's lower edge, exclusive
    return QRect(anchor.x() - w / 2, bottom - h, w, h);
}

void ProfileChart::drawPanel(QPainter &painter, QSize size) const
{
    const QRect r(QPoint(0, 0), size);
    painter.fillRect(r, ChartColors::Cream);
    // A sunken window edge of two pixels, then a raised bevel of one.
    const auto edge = [&painter](const QRect &box, const QColor &topLeft, const QColor &bottomRight) {
        painter.fillRect(QRect(box.left(), box.top(), box.width(), 1), topLeft);
        painter.fillRect(QRect(box.left(), box.top(), 1, box.height()), topLeft);
        painter.fillRect(QRect(box.left(), box.bottom(), box.width(), 1), bottomRight);
        painter.fillRect(QRect(box.right(), box.top(), 1, box.height()), bottomRight);
    };
    edge(r, QColor(160, 160, 160), ChartColors::White);
    edge(r.adjusted(1, 1, -1, -1), QColor(105, 105, 105), QColor(227, 227, 227));
    edge(r.adjusted(2, 2, -2, -2), ChartColors::White, ChartColors::Grey);
}

void ProfileChart::drawTitleAndFoot(QPainter &painter, QSize size) const
{
    const QRect area = contentRect(size);
    painter.setFont(titleFont());
    painter.setPen(ChartColors::Navy);
    const int lineHeight = QFontMetrics(titleFont()).height();
    for (qsizetype i = 0; i < m_title.size(); ++i) {
        const QRect line(area.left(), area.top() + int(i) * lineHeight, area.width(), lineHeight);
        painter.drawText(line, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, m_title.at(i));
    }
    if (!m_foot.isEmpty()) {
        painter.setFont(footFont());
        painter.setPen(ChartColors::Black);
        const int footHeight = QFontMetrics(footFont()).height();
        const QRect line(area.left(), area.bottom() + 1 - footHeight, area.width(), footHeight);
        painter.drawText(line, Qt::AlignHCenter | Qt::AlignBottom | Qt::TextSingleLine, m_foot);
    }
}

void ProfileChart::drawFrame(QPainter &painter, const QRect &plot) const
{
    const QRect outer = plot.adjusted(-1, -1, 1, 1);
    painter.fillRect(QRect(outer.left(), outer.top(), outer.width(), FrameWidth), m_frameColor);
    painter.fillRect(QRect(outer.left(), outer.bottom() - 1, outer.width(), FrameWidth), m_frameColor);
    painter.fillRect(QRect(outer.left(), outer.top(), FrameWidth, outer.height()), m_frameColor);
    painter.fillRect(QRect(outer.right() - 1, outer.top(), FrameWidth, outer.height()), m_frameColor);

    if (!m_axisVisible)
        return;
    // Plain axes along the left and bottom edges, with a tick and a label every fourth unit.
    painter.setPen(QPen(ChartColors::Black, 1));
    painter.setFont(footFont());
    const QFontMetrics fm(footFont());
    for (int v = -16; v <= 16; v += 4) {
        const QPoint bx = toPixel(plot, v, AxisMinimum);
        painter.drawLine(bx.x(), plot.bottom() + 2, bx.x(), plot.bottom() + 1 + AxisTickLength);
        const QPoint ly = toPixel(plot, AxisMinimum, v);
        painter.drawLine(plot.left() - 2, ly.y(), plot.left() - 1 - AxisTickLength, ly.y());
        const QString text = QString::number(v);
        painter.drawText(ly.x() - AxisTickLength - 4 - fm.horizontalAdvance(text), ly.y() + fm.ascent() / 2, text);
    }
}

void ProfileChart::drawSeriesLine(QPainter &painter, const ChartSeries &series, const QRect &plot) const
{
    const auto &pts = series.points();
    if (pts.size() < 2)
        return;   // a single point draws no line
    painter.save();
    painter.setClipRect(plot);
    for (std::size_t i = 1; i < pts.size(); ++i) {
        const QPoint a = toPixel(plot, pts[i - 1].x, pts[i - 1].y);
        const QPoint b = toPixel(plot, pts[i].x, pts[i].y);
        if (a == b)
            continue;   // a segment of length zero draws nothing
        const QColor colour = series.kind() == ChartSeries::Kind::Line ? SegmentColor(series, pts[i])
                                                                       : series.penColor();
        painter.setPen(QPen(colour, series.penWidth(), Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.drawLine(a, b);
    }
    painter.restore();
}

void ProfileChart::drawMarks(QPainter &painter, const ChartSeries &series, const QRect &plot) const
{
    if (!series.marksVisible())
        return;
    painter.setFont(series.markFont());
    for (const auto &p : series.points()) {
        const QRect box = markRect(series.markFont(), p.label, toPixel(plot, p.x, p.y), series.arrowLength());
        painter.fillRect(box, series.markBackground());
        painter.setPen(ChartColors::Black);
        painter.drawText(box, Qt::AlignCenter | Qt::TextSingleLine, p.label);
    }
}

void ProfileChart::paintChart(QPainter &painter, QSize size) const
{
    painter.setRenderHint(QPainter::Antialiasing, false);   // crisp 1- and 2-pixel lines
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    drawPanel(painter, size);
    drawTitleAndFoot(painter, size);
    const QRect plot = plotRect(size);
    drawFrame(painter, plot);
    for (const auto &s : m_series) {   // later series cover earlier ones
        drawSeriesLine(painter, *s, plot);
        drawMarks(painter, *s, plot);
    }
}

QImage ProfileChart::renderToImage(QSize size, qreal devicePixelRatio) const
{
    QImage image(size * devicePixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintChart(painter, size);
    return image;
}

void ProfileChart::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintChart(painter, size());
}
