// Windows-1252 text, the single-byte encoding of the names in the data file.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

// Decodes `length` bytes. 0x80 to 0x9F map as Windows-1252 does; its five undefined
// bytes (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the C1 control code points of the same value.
QString DecodeCp1252(const std::uint8_t *bytes, std::size_t length);

// The code point of one byte.
char16_t Cp1252ToUnicode(std::uint8_t byte);

// Encodes text as Windows-1252; a character it cannot hold becomes '?'.
QByteArray EncodeCp1252(const QString &text);
