#include "FileReplace.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Closes a descriptor when it goes out of scope.
class Fd
{
public:
    explicit Fd(int fd = -1) : m_fd(fd) {}
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    ~Fd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    void reset(int fd)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }

private:
    int m_fd;
};

int WriteAll(int fd, const unsigned char *p, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, p, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return EIO;
        p += n;
        size -= std::size_t(n);
    }
    return 0;
}

// A name for the file between its linking and its rename: a dot, a tag and six random
// characters, far below any name limit.
std::string TemporaryName()
{
    static constexpr char Alphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    static std::minstd_rand random{std::random_device{}()};
    std::string name = ".qv-";
    for (int i = 0; i < 6; ++i)
        name += Alphabet[random() % (sizeof(Alphabet) - 1)];
    return name;
}

// Gives an unnamed file (O_TMPFILE) a name in `dir`. linkat with AT_EMPTY_PATH needs a
// capability ordinary users lack; the descriptor's entry in /proc does not.
int LinkUnnamed(int fd, int dir, const std::string &name)
{
    char procPath[64];
    std::snprintf(procPath, sizeof procPath, "/proc/self/fd/%d", fd);
    if (::linkat(AT_FDCWD, procPath, dir, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return 0;
    const int procError = errno;
    if (::linkat(fd, "", dir, name.c_str(), AT_EMPTY_PATH) == 0)
        return 0;
    return procError;
}

} // namespace

int ReplaceFileContents(const QByteArray &path, const void *bytes, std::size_t size)
{
    if (path.contains('\0'))   // the system would read the name only up to it
        return EINVAL;
    const qsizetype slash = path.lastIndexOf('/');
    const std::string folder = slash < 0 ? std::string(".") : slash == 0 ? std::string("/") : path.left(slash).toStdString();
    const std::string leaf = path.mid(slash + 1).toStdString();
    if (leaf.empty() || leaf == "." || leaf == "..")
        return EISDIR;

    const Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir.valid())
        return errno;

    // An unnamed file vanishes by itself if the program dies before it is linked.
    bool unnamed = true;
    std::string temporary;
    Fd file(::openat(dir.get(), ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
    if (!file.valid()) {
        const int error = errno;
        if (error != EOPNOTSUPP && error != EISDIR && error != EINVAL)
            return error;
        // The file system has no unnamed files: a named one that only this call uses.
        unnamed = false;
        for (int attempt = 0; attempt < 100 && !file.valid(); ++attempt) {
            temporary = TemporaryName();
            file.reset(::openat(dir.get(), temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
            if (!file.valid() && errno != EEXIST)
                return errno;
        }
        if (!file.valid())
            return EEXIST;
    }
    auto removeTemporary = [&] {
        if (!temporary.empty())
            ::unlinkat(dir.get(), temporary.c_str(), 0);
    };

    int error = WriteAll(file.get(), static_cast<const unsigned char *>(bytes), size);
    if (!error && ::fdatasync(file.get()) != 0)
        error = errno;
    if (!error && unnamed) {
        for (int attempt = 0; attempt < 100; ++attempt) {
            temporary = TemporaryName();
            error = LinkUnnamed(file.get(), dir.get(), temporary);
            if (error != EEXIST)
                break;
        }
        if (error)
            temporary.clear();
    }
    if (!error && ::renameat(dir.get(), temporary.c_str(), dir.get(), leaf.c_str()) != 0)
        error = errno;
    if (error) {
        removeTemporary();
        return error;
    }
    ::fsync(dir.get());   // the new entry itself made durable; the data already is
    return 0;
}
