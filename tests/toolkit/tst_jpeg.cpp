// The JPEG image object: the file's properties read from its bytes, errors, atomic saving.
#include "JpegImage.h"
#include "TempDir.h"

#include <QDir>
#include <QFile>
#include <QPainter>

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <jpeglib.h>
#include <jerror.h>
#include <map>
#include <sys/resource.h>

namespace {

// Red, green and blue bands over white, at an odd width so rows are padded.
QImage Bands(int width = 807, int height = 580)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.fillRect(0, 0, width / 3, height, Qt::red);
    p.fillRect(width / 3, 0, width / 3, height, Qt::green);
    p.fillRect(2 * (width / 3), 0, width - 2 * (width / 3), height, Qt::blue);
    return image;
}

std::vector<unsigned char> Encode(const QImage &picture)
{
    JpegImage jpeg;
    jpeg.Assign(picture);
    return jpeg.encoded();
}

// The markers of a JPEG file up to its first scan: marker code -> list of segment bodies.
std::multimap<int, std::vector<unsigned char>> Markers(const std::vector<unsigned char> &f)
{
    std::multimap<int, std::vector<unsigned char>> out;
    std::size_t i = 2;
    while (i + 4 <= f.size() && f[i] == 0xFF) {
        const int code = f[i + 1];
        const std::size_t length = std::size_t(f[i + 2] << 8 | f[i + 3]);
        out.emplace(code, std::vector<unsigned char>(f.begin() + long(i + 4), f.begin() + long(i + 2 + length)));
        if (code == 0xDA)
            break;
        i += 2 + length;
    }
    return out;
}

constexpr int NaturalOrder[64] = {0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,
                                  12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28,
                                  35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
                                  58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};
constexpr int Luminance[64] = {16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
                               14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
                               18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
                               49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
constexpr int Chrominance[64] = {17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99,
                                 24, 26, 56, 99, 99, 99, 99, 99, 47, 66, 99, 99, 99, 99, 99, 99,
                                 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
                                 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

TEST(JpegFile, HasTheFixedBaselineProperties)
{
    const std::vector<unsigned char> file = Encode(Bands());
    ASSERT_GE(file.size(), 4u);
    EXPECT_EQ(file[0], 0xFF);
    EXPECT_EQ(file[1], 0xD8);
    EXPECT_EQ(file[file.size() - 2], 0xFF);
    EXPECT_EQ(file[file.size() - 1], 0xD9);
    const auto markers = Markers(file);

    ASSERT_EQ(markers.count(0xE0), 1u);   // JFIF 1.01, no units, density 1 x 1, no thumbnail
    EXPECT_EQ(markers.find(0xE0)->second,
              (std::vector<unsigned char>{'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0}));

    ASSERT_EQ(markers.count(0xC0), 1u);   // baseline, one frame
    for (int progressiveOrOther : {0xC1, 0xC2, 0xC3, 0xC9, 0xCA, 0xDD})
        EXPECT_EQ(markers.count(progressiveOrOther), 0u) << std::hex << progressiveOrOther;
    EXPECT_EQ(markers.find(0xC0)->second,
              (std::vector<unsigned char>{8, 580 >> 8, 580 & 0xFF, 807 >> 8, 807 & 0xFF, 3,
                                          1, 0x22, 0, 2, 0x11, 1, 3, 0x11, 1}));

    // Two quantisation tables: the standard ones scaled to 20 %, in zigzag order.
    std::map<int, std::vector<unsigned char>> tables;
    for (auto [it, end] = markers.equal_range(0xDB); it != end; ++it)
        for (std::size_t at = 0; at + 65 <= it->second.size(); at += 65)
            tables[it->second[at]] = std::vector<unsigned char>(it->second.begin() + long(at + 1),
                                                                it->second.begin() + long(at + 65));
    ASSERT_EQ(tables.size(), 2u);
    for (int k = 0; k < 64; ++k) {
        const auto scaled = [](int v) { return std::clamp((v * 20 + 50) / 100, 1, 255); };
        EXPECT_EQ(tables[0][std::size_t(k)], scaled(Luminance[NaturalOrder[k]])) << k;
        EXPECT_EQ(tables[1][std::size_t(k)], scaled(Chrominance[NaturalOrder[k]])) << k;
    }

    // The standard Huffman tables: their code length counts and first symbols.
    std::map<int, std::vector<unsigned char>> huffman;
    for (auto [it, end] = markers.equal_range(0xC4); it != end; ++it)
        for (std::size_t at = 0; at < it->second.size();) {
            int symbols = 0;
            for (int b = 1; b <= 16; ++b)
                symbols += it->second[at + std::size_t(b)];
            huffman[it->second[at]] = std::vector<unsigned char>(it->second.begin() + long(at + 1),
                                                                 it->second.begin() + long(at + 17 + std::size_t(symbols)));
            at += 17 + std::size_t(symbols);
        }
    ASSERT_EQ(huffman.size(), 4u);
    using Bytes = std::vector<unsigned char>;
    const Bytes dcLuma{0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    const Bytes dcChroma{0, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    EXPECT_EQ(huffman[0x00], dcLuma);
    EXPECT_EQ(huffman[0x01], dcChroma);
    EXPECT_EQ(Bytes(huffman[0x10].begin(), huffman[0x10].begin() + 22),
              (Bytes{0, 2, 1, 3, 3, 2, 4, 3, 5, 5, 4, 4, 0, 0, 1, 0x7D, 0x01, 0x02, 0x03, 0x00, 0x04, 0x11}));
    EXPECT_EQ(Bytes(huffman[0x11].begin(), huffman[0x11].begin() + 22),
              (Bytes{0, 2, 1, 2, 4, 4, 3, 4, 7, 5, 4, 4, 0, 1, 2, 0x77, 0x00, 0x01, 0x02, 0x03, 0x11, 0x04}));
    EXPECT_EQ(huffman[0x10].size(), 16u + 162u);
    EXPECT_EQ(huffman[0x11].size(), 16u + 162u);

    EXPECT_EQ(markers.count(0xDD), 0u);   // no restart interval
    ASSERT_EQ(markers.count(0xDA), 1u);
    EXPECT_EQ(markers.find(0xDA)->second, (std::vector<unsigned char>{3, 1, 0x00, 2, 0x11, 3, 0x11, 0, 63, 0}));
}

TEST(JpegFile, ColoursComeBackInTheirPlaces)
{
    const std::vector<unsigned char> file = Encode(Bands());
    const QImage back = DecodeJpeg(QByteArray(reinterpret_cast<const char *>(file.data()), qsizetype(file.size())));
    ASSERT_EQ(back.size(), QSize(807, 580));
    struct Probe { int x; QColor colour; };
    // The right edge too: a picture read with the wrong row length would shear there.
    for (Probe p : {Probe{100, Qt::red}, Probe{400, Qt::green}, Probe{700, Qt::blue}, Probe{800, Qt::blue}}) {
        for (int y : {10, 290, 570}) {
            const QColor got = back.pixelColor(p.x, y);
            EXPECT_NEAR(got.red(), p.colour.red(), 12) << p.x << "," << y;
            EXPECT_NEAR(got.green(), p.colour.green(), 12) << p.x << "," << y;
            EXPECT_NEAR(got.blue(), p.colour.blue(), 12) << p.x << "," << y;
        }
    }
}

TEST(JpegFile, LibraryErrorsCarryTheirCode)
{
    struct Case { const char *what; QImage picture; int code; };
    const Case cases[] = {
        {"empty picture", QImage(), JERR_EMPTY_IMAGE},
        {"wider than a JPEG can be", QImage(70000, 1, QImage::Format_RGB32), JERR_IMAGE_TOO_BIG},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        try {
            Encode(c.picture);
            ADD_FAILURE() << "no error";
        } catch (const JpegError &e) {
            EXPECT_EQ(e.code(), c.code);
            EXPECT_EQ(QString::fromUtf8(e.what()), QStringLiteral("JPEG-Fehler #%1").arg(c.code));
        }
    }
}

TEST(JpegFile, DecodingRefusesDamagedData)
{
    const std::vector<unsigned char> file = Encode(Bands(64, 64));
    const QByteArray whole(reinterpret_cast<const char *>(file.data()), qsizetype(file.size()));
    EXPECT_FALSE(DecodeJpeg(whole).isNull());
    EXPECT_TRUE(DecodeJpeg(whole.left(whole.size() / 2)).isNull());
    EXPECT_TRUE(DecodeJpeg(QByteArray("not a picture")).isNull());
    EXPECT_TRUE(DecodeJpeg(QByteArray()).isNull());
}

class Saving : public ::testing::Test
{
protected:
    QString target() const { return dir.path(QStringLiteral("TEAM1.jpg")); }
    void writeEarlier() const
    {
        QFile f(target());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("earlier snapshot");
    }
    QByteArray content() const
    {
        QFile f(target());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot); }

    TempDir dir;
};

TEST_F(Saving, ReplacesAnEarlierFileWithTheWholeNewOne)
{
    writeEarlier();
    JpegImage jpeg;
    jpeg.Assign(Bands(64, 48));
    jpeg.SaveToFile(target());
    const auto &encoded = jpeg.encoded();
    EXPECT_EQ(content(), QByteArray(reinterpret_cast<const char *>(encoded.data()), qsizetype(encoded.size())));
    EXPECT_EQ(files(), QStringList{QStringLiteral("TEAM1.jpg")});
}

TEST_F(Saving, FailuresLeaveNothingBehindAndTheEarlierFileAlone)
{
    writeEarlier();
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("TEAM2.jpg")));
    struct Case { const char *what; QString path; QImage picture; QString message; };
    const QString missing = dir.path(QStringLiteral("fehlt/TEAM1.jpg"));
    const QString folder = dir.path(QStringLiteral("TEAM2.jpg"));
    const Case cases[] = {
        {"missing folder", missing, Bands(8, 8), QStringLiteral("Datei %1 kann nicht erstellt werden").arg(missing)},
        {"name taken by a folder", folder, Bands(8, 8), QStringLiteral("Datei %1 kann nicht erstellt werden").arg(folder)},
        {"encoding error", target(), QImage(), QStringLiteral("JPEG-Fehler #%1").arg(JERR_EMPTY_IMAGE)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        JpegImage jpeg;
        jpeg.Assign(c.picture);
        try {
            jpeg.SaveToFile(c.path);
            ADD_FAILURE() << "no error";
        } catch (const std::exception &e) {
            EXPECT_EQ(QString::fromUtf8(e.what()), c.message);
        }
        EXPECT_EQ(content(), QByteArray("earlier snapshot"));
        EXPECT_EQ(files(), (QStringList{QStringLiteral("TEAM1.jpg"), QStringLiteral("TEAM2.jpg")}));
    }
}

// Saves under a file size limit, as on a full disk: writing past it fails. Runs in a
// child process; its exit code tells what happened.
[[noreturn]] void SaveWithFileSizeLimit(const QString &path)
{
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    limit.rlim_cur = limit.rlim_max = 1000;
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
        std::_Exit(3);
    QImage noise(400, 300, QImage::Format_RGB32);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, qRgb((x * 7919 + y * 104729) & 0xFF, (x * y) & 0xFF, (x ^ y) & 0xFF));
    JpegImage jpeg;
    jpeg.Assign(noise);   // encodes to far more than 1000 bytes
    try {
        jpeg.SaveToFile(path);
    } catch (const FileCreateError &e) {
        const bool named = QString::fromUtf8(e.what()) == QStringLiteral("Datei %1 kann nicht erstellt werden").arg(path);
        std::_Exit(named ? 0 : 5);
    }
    std::_Exit(4);
}

TEST_F(Saving, FullDiskLeavesTheEarlierFileAndNoShortOne)
{
    writeEarlier();
    GTEST_FLAG_SET(death_test_style, "threadsafe");   // the child starts afresh: Qt runs threads
    EXPECT_EXIT(SaveWithFileSizeLimit(target()), ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(content(), QByteArray("earlier snapshot"));
    EXPECT_EQ(files(), QStringList{QStringLiteral("TEAM1.jpg")});
}

} // namespace
