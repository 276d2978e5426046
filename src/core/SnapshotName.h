// The file name under which a chart window's snapshot is saved.
#pragma once

#include <QByteArray>

#include <cstdint>

// The data file's path less the last four characters of its file name, then the member
// number or "-gesamt" for the whole team (member 0), then ".jpg". Paths are bytes as the
// file system spells them; a character is one UTF-8 sequence, or one byte where the name
// is not UTF-8. A file name shorter than four characters is dropped whole, so the
// snapshot stays in the data file's folder.
QByteArray SnapshotFileName(const QByteArray &dataFileName, std::uint8_t member);

// The same rule for other files of a view: `extension` (".png", ".pdf") in place of ".jpg".
QByteArray ViewFileName(const QByteArray &dataFileName, std::uint8_t member, const char *extension);

// The data file's name alone, cut as for snapshots: "TEAM.dat" gives "TEAM".
QByteArray ViewFileStem(const QByteArray &dataFileName);
