#include "ImageBox.h"

#include "JpegImage.h"

#include <QFile>
#include <QPainter>

ImageBox::ImageBox(QWidget *parent) : QWidget(parent) {}

void ImageBox::setPicture(const QImage &picture)
{
    m_picture = picture;
    update();
}

QRect ImageBox::pictureRect() const
{
    if (m_picture.isNull())
        return {};
    QSize size = m_picture.size();
    if (size.width() > width() || size.height() > height())
        size = size.scaled(this->size(), Qt::KeepAspectRatio);
    return QRect(QPoint(0, 0), size);
}

void ImageBox::paintEvent(QPaintEvent *)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(pictureRect(), m_picture);
}

QImage LoadResourcePicture(const QString &resource)
{
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = file.readAll();
    if (resource.endsWith(QLatin1String(".jpg")))
        return DecodeJpeg(data);
    return QImage::fromData(data);
}
