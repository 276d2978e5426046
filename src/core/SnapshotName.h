// The file name under which a chart window's snapshot is saved.
#pragma once

#include <QString>

#include <cstdint>

// The data file's path less the last four characters of its file name, then the member
// number or "-gesamt" for the whole team (member 0), then ".jpg". A file name shorter
// than four characters is dropped whole, so the snapshot stays in the data file's folder.
QString SnapshotFileName(const QString &dataFileName, std::uint8_t member);
