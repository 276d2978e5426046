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

} // namespace

QByteArray SnapshotFileName(const QByteArray &dataFileName, std::uint8_t member)
{
    const qsizetype nameStart = dataFileName.lastIndexOf('/') + 1;
    std::vector<qsizetype> starts;   // where each character of the file name begins
    for (qsizetype i = nameStart; i < dataFileName.size(); i += CharacterLength(dataFileName.constData() + i, dataFileName.size() - i))
        starts.push_back(i);
    const qsizetype cut = starts.size() > 4 ? starts[starts.size() - 4] : nameStart;
    const QByteArray suffix = member > 0 ? QByteArray::number(member) : QByteArrayLiteral("-gesamt");
    return dataFileName.left(cut) + suffix + ".jpg";
}
