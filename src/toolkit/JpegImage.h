// The JPEG image object: encodes a picture with libjpeg into memory and saves it; decodes
// the program's own JPEG pictures.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

// A libjpeg failure, carrying the library's message code.
class JpegError : public std::runtime_error
{
public:
    explicit JpegError(int code);
    int code() const { return m_code; }

private:
    int m_code;
};

// A file that could not be created, written completely or committed.
class FileCreateError : public std::runtime_error
{
public:
    explicit FileCreateError(const QString &path);
};

// Borrowed pixel rows; `stride` is the distance between rows in bytes.
struct RgbView {
    enum class Layout {
        Rgb888,   // three bytes a pixel: red, green, blue
        Xrgb32,   // a native 32-bit word a pixel: 0xffRRGGBB (a screen picture's layout)
    };
    int width = 0;
    int height = 0;
    const std::uint8_t *bits = nullptr;
    std::size_t stride = 0;
    Layout layout = Layout::Rgb888;
};

// Baseline JFIF at quality 90 with the floating-point DCT. Throws JpegError.
std::vector<unsigned char> EncodeJpeg(const RgbView &image);

// Decodes a JPEG held in memory into an RGB888 image; a null image where the data is
// not a complete, clean JPEG.
QImage DecodeJpeg(const QByteArray &data);

// Writes `bytes` to `path` atomically, replacing only the directory entry (see
// ReplaceFileContents): an earlier file is replaced only by a complete new one, and a
// link at the name is replaced, never followed. Throws FileCreateError.
void WriteFileAtomically(const QByteArray &path, const void *bytes, std::size_t size);
void WriteFileAtomically(const QByteArray &path, const QByteArray &bytes);

class JpegImage
{
public:
    // Keeps the picture and drops any encoded data held before.
    void Assign(const QImage &picture);
    // Encodes (if not done yet) and writes the file atomically; the encoding comes
    // first, so an encoding error leaves no file behind.
    void SaveToFile(const QByteArray &path);   // a path as the file system spells it
    void SaveToFile(const QString &path);
    const std::vector<unsigned char> &encoded();

private:
    QImage m_picture;
    std::vector<unsigned char> m_encoded;
    bool m_haveEncoded = false;
};
