#include "SnapshotName.h"

#include <vector>

namespace {

// Length of the UTF-8 sequence starting at `p`, or 1 where the bytes are not one.
qsizetype CharacterLength(const char *p, qsizetype left)
{
    const auto lead = static_cast<unsigned char>(p[0]);
    const qsizetype n = lead < 0x80 ? 1 : lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
        : lead >= 0xF0 && lead <= 0xF4 ? 4 : 1;
    if (n > left)
        return 1;
    for (qsizetype i = 1; i < n; ++i)
        if ((static_cast<unsigned char>(p[i]) & 0xC0) != 0x80)
            return 1;
    return n;
}

// Where the cut ends the path: four characters before the end of the file name, or at the
// name's start where it is shorter.
qsizetype CutPosition(const QByteArray &dataFileName)
{
    const qsizetype nameStart = dataFileName.lastIndexOf('/') + 1;
    std::vector<qsizetype> starts;   // where each character of the file name begins
    for (qsizetype i = nameStart; i < dataFileName.size(); i += CharacterLength(dataFileName.constData() + i, dataFileName.size() - i))
        starts.push_back(i);
    return starts.size() > 4 ? starts[starts.size() - 4] : nameStart;
}

} // namespace

QByteArray ViewFileName(const QByteArray &dataFileName, std::uint8_t member, const char *extension)
{
    const QByteArray suffix = member > 0 ? QByteArray::number(member) : QByteArrayLiteral("-gesamt");
    return dataFileName.left(CutPosition(dataFileName)) + suffix + extension;
}

QByteArray SnapshotFileName(const QByteArray &dataFileName, std::uint8_t member)
{
    return ViewFileName(dataFileName, member, ".jpg");
}

QByteArray ViewFileStem(const QByteArray &dataFileName)
{
    const qsizetype nameStart = dataFileName.lastIndexOf('/') + 1;
    return dataFileName.mid(nameStart, CutPosition(dataFileName) - nameStart);
}
