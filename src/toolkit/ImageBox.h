// A picture component: shows its picture scaled down proportionally to fit, at the top
// left of its frame, or serves hidden as the holder of a bitmap.
#pragma once

#include <QImage>
#include <QWidget>

class ImageBox : public QWidget
{
    Q_OBJECT
public:
    explicit ImageBox(QWidget *parent = nullptr);

    void setPicture(const QImage &picture);
    const QImage &picture() const { return m_picture; }
    QImage &bitmap() { return m_picture; }   // the picture, for code that fills it in place
    // Where the picture is drawn inside the component: fitted, aspect kept, top-left.
    QRect pictureRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_picture;
};

// A picture of the program's own resources, decoded with libjpeg where it is a JPEG.
QImage LoadResourcePicture(const QString &resource);
