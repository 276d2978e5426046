// Replacing a snapshot file: only the directory entry changes, whatever stands at the
// name, and a failure leaves the earlier file and no temporary file behind.
#include "FileReplace.h"

#include "TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <vector>

namespace {

const QByteArray Earlier = "earlier snapshot";
const QByteArray Elsewhere = "a file elsewhere";

QByteArray Native(const QString &path) { return QFile::encodeName(path); }

QByteArray Content(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void Write(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QStringList Entries(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// Runs `write` in a child process (so a case may drop its rights or limit file sizes) and
// returns what the child's ReplaceFileContents returned.
int InChild(const std::function<int()> &write)
{
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(write() & 0xFF);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class Replacing : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir().mkpath(data()));
        ASSERT_TRUE(QDir().mkpath(other()));
        ASSERT_EQ(::chmod(Native(root.path()).constData(), 0755), 0);   // reachable for the unprivileged cases
    }
    QString data(const QString &name = {}) const { return root.path(QStringLiteral("Daten/") + name); }
    QString other(const QString &name = {}) const { return root.path(QStringLiteral("anderswo/") + name); }

    TempDir root;
};

TEST_F(Replacing, ReplacesOnlyTheEntryAtTheName)
{
    const QByteArray fresh = "new snapshot, complete";
    const QString longName = QString(246, QLatin1Char('L')) + QStringLiteral("1.jpg");   // 251 bytes
    struct Case {
        const char *what;
        QString name;
        std::function<void()> setUp;
    };
    const std::vector<Case> cases{
        {"no file yet", QStringLiteral("TEAM1.jpg"), [] {}},
        {"an earlier file", QStringLiteral("TEAM1.jpg"), [this] { Write(data("TEAM1.jpg"), Earlier); }},
        {"a link to a file elsewhere", QStringLiteral("TEAM1.jpg"),
         [this] {
             Write(other("ziel.jpg"), Elsewhere);
             ASSERT_TRUE(QFile::link(other("ziel.jpg"), data("TEAM1.jpg")));
         }},
        {"a dangling link", QStringLiteral("TEAM1.jpg"),
         [this] { ASSERT_TRUE(QFile::link(other("neu.jpg"), data("TEAM1.jpg"))); }},
        {"a name of 251 bytes", longName, [&] { Write(data(longName), Earlier); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QDir(data()).removeRecursively();
        QDir(other()).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(data()));
        ASSERT_TRUE(QDir().mkpath(other()));
        c.setUp();
        const QStringList elsewhereBefore = Entries(other());

        for (int round = 0; round < 2; ++round) {   // the second time replaces the first
            const QByteArray bytes = fresh + QByteArray::number(round);
            ASSERT_EQ(ReplaceFileContents(Native(data(c.name)), bytes.constData(), std::size_t(bytes.size())), 0);
            EXPECT_EQ(Content(data(c.name)), bytes);
            EXPECT_FALSE(QFileInfo(data(c.name)).isSymLink());
            EXPECT_EQ(Entries(data()), QStringList{c.name});
        }
        EXPECT_EQ(Entries(other()), elsewhereBefore);   // nothing created where a link pointed
        if (elsewhereBefore.contains(QStringLiteral("ziel.jpg"))) {
            EXPECT_EQ(Content(other("ziel.jpg")), Elsewhere);
        }
    }
}

TEST_F(Replacing, FailuresLeaveTheEarlierFileAndNoTemporaryFile)
{
    std::signal(SIGXFSZ, SIG_IGN);
    const QByteArray big(64 * 1024, 'x');
    struct Case {
        const char *what;
        QString name;
        int expected;
        std::function<int(const QByteArray &path)> write;
    };
    const auto plain = [&](const QByteArray &path) { return ReplaceFileContents(path, big.constData(), std::size_t(big.size())); };
    const std::vector<Case> cases{
        {"a read-only folder", QStringLiteral("TEAM1.jpg"), EACCES,
         [&](const QByteArray &path) {
             // Root may write anywhere: the write runs as an unprivileged user.
             if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
                 return 200;
             return plain(path);
         }},
        {"a full disk", QStringLiteral("TEAM1.jpg"), EFBIG,
         [&](const QByteArray &path) {
             rlimit limit{};
             limit.rlim_cur = limit.rlim_max = 1000;   // writing past 1000 bytes fails
             if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
                 return 201;
             return plain(path);
         }},
        {"the name taken by a folder", QStringLiteral("TEAM2.jpg"), EISDIR, plain},
        {"a missing folder", QStringLiteral("fehlt/TEAM1.jpg"), ENOENT, plain},
    };
    Write(data("TEAM1.jpg"), Earlier);
    ASSERT_TRUE(QDir(data()).mkdir(QStringLiteral("TEAM2.jpg")));
    const QStringList before = Entries(data());
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const bool readOnly = c.expected == EACCES;
        if (readOnly) {
            ASSERT_EQ(::chmod(Native(data()).constData(), 0555), 0);
        }
        EXPECT_EQ(InChild([&] { return c.write(Native(data(c.name))); }), c.expected);
        if (readOnly) {
            ASSERT_EQ(::chmod(Native(data()).constData(), 0755), 0);
        }
        EXPECT_EQ(Content(data("TEAM1.jpg")), Earlier);
        EXPECT_EQ(Entries(data()), before);
        EXPECT_TRUE(Entries(data("TEAM2.jpg")).isEmpty());
    }
}

// Killed in the middle of writing, the program leaves no name behind: the file being
// written has none until it is complete.
TEST_F(Replacing, AKilledWriteLeavesNothingBehind)
{
    Write(data("TEAM1.jpg"), Earlier);
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
        static const std::vector<char> huge(std::size_t(1) << 30, 'x');   // far longer than the kill takes
        ::close(ready[0]);
        ::write(ready[1], "!", 1);
        ::_exit(ReplaceFileContents(Native(data("TEAM1.jpg")), huge.data(), huge.size()));
    }
    ::close(ready[1]);
    char c;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    ::close(ready[0]);
    ::usleep(20 * 1000);
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the write ended before it could be killed";
    EXPECT_EQ(Content(data("TEAM1.jpg")), Earlier);
    EXPECT_EQ(Entries(data()), QStringList{QStringLiteral("TEAM1.jpg")});
}

} // namespace
