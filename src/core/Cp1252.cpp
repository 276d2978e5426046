#include "Cp1252.h"

namespace {

constexpr char16_t HighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,   // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,   // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,   // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,   // 0x98
};

} // namespace

char16_t Cp1252ToUnicode(std::uint8_t byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return HighControls[byte - 0x80];
    return char16_t(byte);   // every other byte equals its Latin-1 code point
}

QString DecodeCp1252(const std::uint8_t *bytes, std::size_t length)
{
    QString text;
    text.reserve(qsizetype(length));
    for (std::size_t i = 0; i < length; ++i)
        text.append(QChar(Cp1252ToUnicode(bytes[i])));
    return text;
}

QByteArray EncodeCp1252(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        char byte = '?';
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            byte = char(u);
        } else {
            for (int b = 0x80; b <= 0x9F; ++b) {
                if (HighControls[b - 0x80] == u) {
                    byte = char(b);
                    break;
                }
            }
        }
        bytes.append(byte);
    }
    return bytes;
}
