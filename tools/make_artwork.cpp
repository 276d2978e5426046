// Draws the program's pictures into resources/: make_artwork <resources folder>
// The logo is written as a JPEG with the program's own encoder, like the snapshots.
#include "JpegImage.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

namespace {

const QColor Navy(0, 0, 128);
const QColor Cream(255, 251, 240);
const QColor Grey(128, 128, 128);

// A grey cross with a navy quadrilateral on a cream tile: the program's picture.
void DrawEmblem(QPainter &p, const QRectF &box)
{
    p.setRenderHint(QPainter::Antialiasing);
    const qreal r = box.width() * 0.16;
    p.setPen(QPen(Grey.darker(130), box.width() / 32.0));
    p.setBrush(Cream);
    p.drawRoundedRect(box.adjusted(1, 1, -1, -1), r, r);
    const QPointF c = box.center();
    const qreal h = box.width() * 0.40;
    p.setPen(QPen(Grey, qMax<qreal>(1.0, box.width() / 40.0)));
    p.drawLine(QPointF(c.x(), c.y() - h), QPointF(c.x(), c.y() + h));
    p.drawLine(QPointF(c.x() - h, c.y()), QPointF(c.x() + h, c.y()));
    QPainterPath quad;
    quad.moveTo(c.x(), c.y() - h * 0.85);
    quad.lineTo(c.x() + h * 0.70, c.y());
    quad.lineTo(c.x(), c.y() + h * 0.55);
    quad.lineTo(c.x() - h * 0.75, c.y());
    quad.closeSubpath();
    p.setPen(QPen(Navy, qMax<qreal>(1.5, box.width() / 16.0), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(0, 0, 128, 40));
    p.drawPath(quad);
}

QImage Logo()
{
    QImage image(400, 334, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    DrawEmblem(p, QRectF(100, 14, 200, 200));
    p.setPen(Navy);
    QFont title(QStringLiteral("Liberation Sans"));
    title.setPixelSize(48);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRect(0, 222, 400, 58), Qt::AlignCenter, QStringLiteral("Velmarin"));
    QFont sub(QStringLiteral("Liberation Sans"));
    sub.setPixelSize(24);
    p.setFont(sub);
    p.setPen(Grey.darker(120));
    p.drawText(QRect(0, 280, 400, 36), Qt::AlignCenter, QStringLiteral("Teamdiagnostik"));
    return image;
}

// An open door under a green exit sign, 18 x 18, drawn at `scale` for dense screens.
QImage ExitGlyph(int scale = 1)
{
    QImage image(18 * scale, 18 * scale, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.scale(scale, scale);
    p.fillRect(QRect(3, 0, 12, 4), QColor(0, 150, 60));        // the sign
    p.fillRect(QRect(5, 1, 8, 2), QColor(200, 255, 210));      // its lettering
    p.fillRect(QRect(3, 5, 12, 13), QColor(60, 40, 20));       // the door frame
    p.fillRect(QRect(4, 6, 10, 12), QColor(255, 250, 210));    // light through the doorway
    p.setRenderHint(QPainter::Antialiasing);
    QPolygonF leaf;                                            // the open door leaf
    leaf << QPointF(4, 6) << QPointF(9, 8) << QPointF(9, 18) << QPointF(4, 18);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 90, 40));
    p.drawPolygon(leaf);
    p.setBrush(QColor(240, 200, 60));
    p.drawEllipse(QPointF(8, 13), 0.8, 0.8);                   // the handle
    return image;
}

QImage Greyed(const QImage &source)
{
    QImage grey = source.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < grey.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(grey.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            const int v = 128 + qGray(line[x]) / 2;
            line[x] = qRgba(v, v, v, qAlpha(line[x]));
        }
    }
    return grey;
}

QImage Icon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    DrawEmblem(p, QRectF(0, 0, size, size));
    return image;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s RESOURCES_FOLDER\n", argv[0]);
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]) + QLatin1Char('/');
    const QImage logo = Logo().convertToFormat(QImage::Format_RGB888);
    const std::vector<unsigned char> jpeg =
        EncodeJpeg(RgbView{logo.width(), logo.height(), logo.constBits(), std::size_t(logo.bytesPerLine())});
    WriteFileAtomically(QFile::encodeName(dir + QStringLiteral("logo.jpg")), jpeg.data(), jpeg.size());
    const QImage exit = ExitGlyph();
    const bool ok = exit.save(dir + QStringLiteral("exit.png"))
        && Greyed(exit).save(dir + QStringLiteral("exit_disabled.png"))
        && ExitGlyph(2).save(dir + QStringLiteral("exit@2x.png"))
        && Greyed(ExitGlyph(2)).save(dir + QStringLiteral("exit_disabled@2x.png"))
        && Icon(32).save(dir + QStringLiteral("icon32.png"))
        && Icon(128).save(dir + QStringLiteral("icon128.png"));
    return ok ? 0 : 1;
}
