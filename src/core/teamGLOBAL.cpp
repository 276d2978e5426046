#include "teamGLOBAL.h"

#include "Cp1252.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

TeamFile TeamData;
QByteArray DataFileName;
bool SaveGraphics = false;
std::uint8_t SelectedMember = 0;
bool FirstActivation = false;

QString TeamFile::MemberName(int k) const
{
    if (k < 1 || k > SlotCount)
        return {};
    const std::size_t at = slotOffset(k) + NameOffset;
    const std::size_t length = std::min<std::size_t>(bytes[at], MaxNameLength);
    return DecodeCp1252(bytes.data() + at + 1, length);
}

std::int32_t TeamFile::Answer(int k, int i) const
{
    if (k < 1 || k > SlotCount || i < 1 || i > AnswerCount)
        return 0;
    const std::size_t at = slotOffset(k) + AnswersOffset + 4 * std::size_t(i - 1);
    const std::uint32_t u = std::uint32_t(bytes[at]) | std::uint32_t(bytes[at + 1]) << 8
        | std::uint32_t(bytes[at + 2]) << 16 | std::uint32_t(bytes[at + 3]) << 24;
    return static_cast<std::int32_t>(u);   // two's complement, defined since C++20
}

namespace {

// Closes the descriptor on every way out of ReadTeamFile.
class FileDescriptor
{
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() { if (m_fd >= 0) ::close(m_fd); }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

} // namespace

int ReadTeamFile(const QString &path)
{
    return ReadTeamFile(QFile::encodeName(path));
}

int ReadTeamFile(const QByteArray &native)
{
    TeamData.bytes.fill(0);
    if (native.isEmpty() || native.contains('\0'))   // a NUL would end the name early
        return ReadOpenFailed;

    // Read-only: the file is never written, so a write-protected file or medium must
    // still open. O_NONBLOCK keeps a FIFO without a writer from hanging the open; the
    // fstat below then turns it away like any other file that is not a regular one.
    const FileDescriptor fd(::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0)
        return ReadOpenFailed;

    struct stat info {};
    if (::fstat(fd.get(), &info) != 0)
        return ReadIoError;
    if (!S_ISREG(info.st_mode))
        return ReadNotARegularFile;

    // One record: a regular file delivers it in one request unless it is shorter;
    // the loop only continues a transfer the kernel split.
    std::size_t got = 0;
    while (got < TeamFile::RecordSize) {
        const ssize_t n = ::read(fd.get(), TeamData.bytes.data() + got, TeamFile::RecordSize - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return ReadIoError;
        if (n == 0)
            return ReadTooShort;
        got += std::size_t(n);
    }
    return ReadOk;
}

void ResetTeamGlobals()
{
    TeamData = TeamFile{};
    DataFileName.clear();
    SaveGraphics = false;
    SelectedMember = 0;
    FirstActivation = false;
}
