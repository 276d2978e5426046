// The chart panel: an XY chart with fixed axes, a title and a footer, which draws line
// and fast-line series and their marks in a fixed order.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <memory>
#include <vector>

namespace ChartColors {
// Colours of the charts, given as 0x00BBGGRR values: red in the low byte.
constexpr QRgb fromBgr(unsigned bgr) { return qRgb(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }
inline const QColor White = QColor::fromRgb(fromBgr(0x00FFFFFF));
inline const QColor Black = QColor::fromRgb(fromBgr(0x00000000));
inline const QColor Navy = QColor::fromRgb(fromBgr(0x00800000));
inline const QColor Grey = QColor::fromRgb(fromBgr(0x00808080));
inline const QColor Silver = QColor::fromRgb(fromBgr(0x00C0C0C0));
inline const QColor Cream = QColor::fromRgb(fromBgr(0x00F0FBFF));
} // namespace ChartColors

class ChartSeries
{
public:
    enum class Kind {
        Line,       // a segment from each point to the next, in the end point's colour
        FastLine,   // one polyline in the series' own colour
    };
    struct Point {
        double x = 0;
        double y = 0;
        QString label;
        QColor color;   // invalid: the series' pen colour
    };

    explicit ChartSeries(Kind kind);

    Kind kind() const { return m_kind; }
    void AddXY(double x, double y, const QString &label = {}, const QColor &color = {});
    const std::vector<Point> &points() const { return m_points; }

    void setPenWidth(int width) { m_penWidth = width; }
    int penWidth() const { return m_penWidth; }
    void setPenColor(const QColor &color) { m_penColor = color; }
    QColor penColor() const { return m_penColor; }

    // Marks: each point's label in a box above the point.
    void setMarksVisible(bool visible) { m_marksVisible = visible; }
    bool marksVisible() const { return m_marksVisible; }
    void setMarkFont(const QFont &font) { m_markFont = font; }
    const QFont &markFont() const { return m_markFont; }
    void setMarkBackground(const QColor &color) { m_markBackground = color; }
    QColor markBackground() const { return m_markBackground; }
    void setArrowLength(int pixels) { m_arrowLength = pixels; }
    int arrowLength() const { return m_arrowLength; }

private:
    Kind m_kind;
    std::vector<Point> m_points;
    int m_penWidth = 1;
    QColor m_penColor = ChartColors::Black;
    bool m_marksVisible = false;
    QFont m_markFont;
    QColor m_markBackground = ChartColors::Cream;
    int m_arrowLength = 8;
};

class ProfileChart : public QWidget
{
    Q_OBJECT
public:
    explicit ProfileChart(QWidget *parent = nullptr);
    ~ProfileChart() override;

    // The chart owns its series; they are drawn in the order they were added.
    ChartSeries *AddSeries(ChartSeries::Kind kind);
    const std::vector<std::unique_ptr<ChartSeries>> &series() const { return m_series; }

    QStringList &Title() { return m_title; }
    const QStringList &Title() const { return m_title; }
    void setFoot(const QString &text) { m_foot = text; }
    const QString &foot() const { return m_foot; }

    void setAxisVisible(bool visible) { m_axisVisible = visible; }
    bool axisVisible() const { return m_axisVisible; }
    void setFrameColor(const QColor &color) { m_frameColor = color; }
    QColor frameColor() const { return m_frameColor; }

    QFont titleFont() const;
    QFont footFont() const;

    static constexpr double AxisMinimum = -17;
    static constexpr double AxisMaximum = 17;
    static constexpr int MarginPercent = 3;
    static constexpr int FrameWidth = 2;
    static constexpr int EdgeWidth = 3;   // sunken border of 2 and a raised bevel of 1

    // The plotting rectangle for a chart of `size`: what margins, title and footer leave.
    QRect plotRect(QSize size) const;
    // Axis values to pixels: -17..17 onto the rectangle's first to last pixel, y upwards.
    static QPoint toPixel(const QRect &plot, double x, double y);
    // Where the mark of a point at `anchor` is drawn.
    static QRect markRect(const QFont &font, const QString &label, QPoint anchor, int arrowLength);

    void paintChart(QPainter &painter, QSize size) const;
    QImage renderToImage(QSize size, qreal devicePixelRatio = 1.0) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void drawPanel(QPainter &painter, QSize size) const;
    void drawTitleAndFoot(QPainter &painter, QSize size) const;
    void drawFrame(QPainter &painter, const QRect &plot) const;
    void drawSeriesLine(QPainter &painter, const ChartSeries &series, const QRect &plot) const;
    void drawMarks(QPainter &painter, const ChartSeries &series, const QRect &plot) const;
    QRect contentRect(QSize size) const;

    std::vector<std::unique_ptr<ChartSeries>> m_series;
    QStringList m_title;
    QString m_foot;
    bool m_axisVisible = true;
    QColor m_frameColor = ChartColors::Black;
};
