// Builds team records byte by byte, for the bundled sample file and the tests' fixtures.
//
// Layout (2116 bytes, little-endian): byte 0 the member count, bytes 1-3 unused, then
// twelve member slots of 176 bytes from offset 4. In a slot: a name length byte, 40 name
// bytes (Windows-1252), 3 unused bytes, 32 answers as signed 32-bit integers at slot
// offset 44, and 4 unused bytes.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <algorithm>
#include <array>
#include <cstdint>

class TeamRecordBuilder
{
public:
    static constexpr int Size = 2116;

    TeamRecordBuilder &count(std::uint8_t members)
    {
        m_bytes[0] = members;
        return *this;
    }

    // The name's bytes as stored (Windows-1252), at most 40 of them; the length byte is
    // the number of bytes unless given.
    TeamRecordBuilder &name(int k, const QByteArray &cp1252, int lengthByte = -1)
    {
        const int at = slot(k);
        const int n = int(std::min<qsizetype>(cp1252.size(), 40));
        for (int i = 0; i < n; ++i)
            m_bytes[std::size_t(at + 1 + i)] = std::uint8_t(cp1252[i]);
        m_bytes[std::size_t(at)] = std::uint8_t(lengthByte >= 0 ? lengthByte : n);
        return *this;
    }

    TeamRecordBuilder &answer(int k, int i, std::int32_t value)
    {
        const std::uint32_t u = std::uint32_t(value);
        const int at = slot(k) + 44 + 4 * (i - 1);
        for (int b = 0; b < 4; ++b)
            m_bytes[std::size_t(at + b)] = std::uint8_t(u >> (8 * b));
        return *this;
    }

    TeamRecordBuilder &answers(int k, const std::array<std::int32_t, 32> &values)
    {
        for (int i = 1; i <= 32; ++i)
            answer(k, i, values[std::size_t(i - 1)]);
        return *this;
    }

    TeamRecordBuilder &allAnswers(int k, std::int32_t value)
    {
        for (int i = 1; i <= 32; ++i)
            answer(k, i, value);
        return *this;
    }

    // Fills every byte the program must not read: bytes 1-3, and in each slot the name
    // bytes past the length, the 3 bytes after the name and the 4 bytes at the end.
    TeamRecordBuilder &fillUnread(std::uint8_t value)
    {
        for (int b = 1; b <= 3; ++b)
            m_bytes[std::size_t(b)] = value;
        for (int k = 1; k <= 12; ++k) {
            const int at = slot(k);
            const int length = std::min<int>(m_bytes[std::size_t(at)], 40);
            for (int i = 1 + length; i < 44; ++i)
                m_bytes[std::size_t(at + i)] = value;
            for (int i = 172; i < 176; ++i)
                m_bytes[std::size_t(at + i)] = value;
        }
        return *this;
    }

    QByteArray bytes() const { return QByteArray(reinterpret_cast<const char *>(m_bytes.data()), Size); }

    // Writes the record, cut to `length` bytes or followed by `trailing` bytes of 0xAB.
    bool writeTo(const QString &path, int length = Size, int trailing = 0) const
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return false;
        QByteArray data = bytes().left(length);
        data.append(QByteArray(trailing, char(0xAB)));
        return file.write(data) == data.size();
    }

private:
    static int slot(int k) { return 4 + 176 * (k - 1); }

    std::array<std::uint8_t, Size> m_bytes{};
};
