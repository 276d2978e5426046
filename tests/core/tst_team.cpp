// The team record: its fields, its names, and reading it from a file.
#include "Cp1252.h"
#include "Quadrivo1Profile.h"
#include "SampleTeam.h"
#include "TeamRecordBuilder.h"
#include "TempDir.h"
#include "teamGLOBAL.h"

#include <QFile>

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

class TeamRecord : public ::testing::Test
{
protected:
    void SetUp() override { ResetTeamGlobals(); }

    int readRecord(const TeamRecordBuilder &team, int length = TeamRecordBuilder::Size, int trailing = 0)
    {
        const QString path = dir.path(QStringLiteral("TEAM.dat"));
        EXPECT_TRUE(team.writeTo(path, length, trailing));
        return ReadTeamFile(path);
    }

    TempDir dir;
};

TEST_F(TeamRecord, FieldsAreReadLittleEndianFromTheirOffsets)
{
    TeamRecordBuilder team;
    team.count(7)
        .name(1, "Ida")
        .answer(1, 1, -1)
        .answer(1, 2, 16)
        .answer(2, 32, INT_MAX)
        .answer(12, 1, INT_MIN)
        .answer(12, 32, 0x01020304)
        .name(12, "Zoe");
    ASSERT_EQ(readRecord(team), 0);

    EXPECT_EQ(TeamData.MemberCount(), 7);
    EXPECT_EQ(TeamData.MemberName(1), QStringLiteral("Ida"));
    EXPECT_EQ(TeamData.MemberName(12), QStringLiteral("Zoe"));
    EXPECT_EQ(TeamData.Answer(1, 1), -1);            // FF FF FF FF
    EXPECT_EQ(TeamData.Answer(1, 2), 16);            // 10 00 00 00
    EXPECT_EQ(TeamData.Answer(2, 32), INT_MAX);
    EXPECT_EQ(TeamData.Answer(12, 1), INT_MIN);
    EXPECT_EQ(TeamData.Answer(12, 32), 0x01020304);
    // Spot checks against the file offsets: answer 1 of member 1 at 48, answer 32 of
    // member 12 at 2108.
    EXPECT_EQ(TeamData.bytes[48], 0xFF);
    EXPECT_EQ(TeamData.bytes[2108], 0x04);
    EXPECT_EQ(TeamData.bytes[2111], 0x01);
}

TEST_F(TeamRecord, NameLengthDecidesTheName)
{
    const QByteArray forty(40, 'a');
    struct Case { const char *what; QByteArray stored; int lengthByte; QString expected; };
    const Case cases[] = {
        {"length 0 ignores the bytes", "Hans", 0, QString()},
        {"length 2 of a longer name", "Hans", 2, QStringLiteral("Ha")},
        {"length 40", forty, 40, QString(forty)},
        {"length 41 keeps 40", forty, 41, QString(forty)},
        {"length 255 keeps 40", forty, 255, QString(forty)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        TeamRecordBuilder team;
        team.name(2, c.stored, c.lengthByte).answer(2, 1, 0x01010101);   // answers follow the name
        ASSERT_EQ(readRecord(team), 0);
        EXPECT_EQ(TeamData.MemberName(2), c.expected);
    }
}

TEST(Cp1252, HighControlRangeMapsAsWindowsDoes)
{
    const char16_t expected[32] = {
        u'€', 0x81, u'‚', u'ƒ', u'„', u'…', u'†', u'‡', u'ˆ', u'‰', u'Š', u'‹', u'Œ', 0x8D, u'Ž', 0x8F,
        0x90, u'‘', u'’', u'“', u'”', u'•', u'–', u'—', u'˜', u'™', u'š', u'›', u'œ', 0x9D, u'ž', u'Ÿ',
    };
    for (int b = 0x80; b <= 0x9F; ++b) {
        SCOPED_TRACE(b);
        EXPECT_EQ(Cp1252ToUnicode(std::uint8_t(b)), expected[b - 0x80]);
    }
    const std::uint8_t name[] = {0x4A, 0xFC, 0x72, 0x67, 0x65, 0x6E, 0x20, 0x57, 0x65, 0x69, 0xDF, 0x20, 0x80};
    EXPECT_EQ(DecodeCp1252(name, sizeof name), QStringLiteral("Jürgen Weiß €"));
}

TEST(Cp1252, EveryByteSurvivesARoundTrip)
{
    for (int b = 0; b < 256; ++b) {
        const std::uint8_t byte = std::uint8_t(b);
        const QByteArray back = EncodeCp1252(DecodeCp1252(&byte, 1));
        ASSERT_EQ(back.size(), 1);
        EXPECT_EQ(std::uint8_t(back[0]), byte);
    }
    EXPECT_EQ(EncodeCp1252(QStringLiteral("a\u4E2Db")), QByteArray("a?b"));
}

TEST_F(TeamRecord, FileLengthDecidesSuccess)
{
    TeamRecordBuilder team;
    team.count(3).fillUnread(0x11).allAnswers(1, 5).allAnswers(12, 9);
    const QByteArray full = team.bytes();
    struct Case { const char *what; int length; int trailing; bool ok; };
    const Case cases[] = {
        {"empty", 0, 0, false},
        {"one byte short", 2115, 0, false},
        {"exactly one record", 2116, 0, true},
        {"longer than a record", 2116, 5000, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        TeamData.bytes.fill(0x5A);   // whatever an earlier read left
        const int result = readRecord(team, c.length, c.trailing);
        EXPECT_EQ(result == 0, c.ok) << result;
        // What was read stands at the start; the rest is zero; nothing past 2116 counts.
        for (int i = 0; i < TeamRecordBuilder::Size; ++i) {
            const std::uint8_t expected = i < c.length ? std::uint8_t(full[i]) : 0;
            ASSERT_EQ(TeamData.bytes[std::size_t(i)], expected) << "byte " << i;
        }
    }
}

TEST_F(TeamRecord, PathsThatAreNoRegularFileFail)
{
    const QString fifo = dir.path(QStringLiteral("fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);

    const QString socketPath = dir.path(QStringLiteral("sock"));
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(sock, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray native = QFile::encodeName(socketPath);
    ASSERT_LT(std::size_t(native.size()), sizeof address.sun_path);
    std::memcpy(address.sun_path, native.constData(), std::size_t(native.size()));
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);

    struct Case { const char *what; QString path; };
    const Case cases[] = {
        {"missing file", dir.path(QStringLiteral("nothing.dat"))},
        {"missing folder", dir.path(QStringLiteral("none/TEAM.dat"))},
        {"empty path", QString()},
        {"folder", dir.path()},
        {"FIFO without a writer, which must not block", fifo},
        {"character device", QStringLiteral("/dev/zero")},
        {"socket", socketPath},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_NE(ReadTeamFile(c.path), 0);
        EXPECT_EQ(TeamData.bytes, TeamFile{}.bytes);
    }
    ::close(sock);
}

// Run as an unprivileged user where the tests run as root, since root may write any file.
TEST_F(TeamRecord, WriteProtectedFileIsReadAsAnyOther)
{
    TeamRecordBuilder team;
    team.count(2).name(1, "Ute");
    const QString path = dir.path(QStringLiteral("TEAM.dat"));
    ASSERT_TRUE(team.writeTo(path));
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0444), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);

    EXPECT_EXIT(
        {
            if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
                std::_Exit(3);
            // Not even root may write it now: the read below must not ask to.
            if (::access(QFile::encodeName(path).constData(), W_OK) == 0)
                std::_Exit(4);
            const int result = ReadTeamFile(path);
            std::_Exit(result == 0 && TeamData.MemberCount() == 2 && TeamData.MemberName(1) == QStringLiteral("Ute")
                           ? 0 : 10 + result);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(TeamRecord, UnreadBytesChangeNothing)
{
    const auto observe = [this](std::uint8_t filler) {
        TeamRecordBuilder team = SampleTeam();
        team.count(3).fillUnread(filler);
        EXPECT_EQ(readRecord(team), 0);
        QStringList seen{QString::number(TeamData.MemberCount())};
        for (std::uint8_t view : {1, 2, 3, 0}) {
            SelectedMember = view;
            ComputeProfile();
            seen << TeamData.MemberName(view ? view : 1)
                 << QStringLiteral("%1/%2/%3/%4").arg(ProfileScores.ScoreDauer).arg(ProfileScores.ScoreNaehe)
                        .arg(ProfileScores.ScoreWechsel).arg(ProfileScores.ScoreDistanz);
        }
        return seen;
    };
    EXPECT_EQ(observe(0x00), observe(0xFF));
}

TEST(SampleData, BundledFileIsTheGeneratorsOutput)
{
    QFile file(QStringLiteral(QUADRIVO_SOURCE_DIR "/examples/TEAM.dat"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), SampleTeam().bytes());
}

// Scores computed the plain way, in wide integers, for comparison.
std::array<int, 4> ReferenceScores(const TeamFile &team, int view)
{
    const auto sums = [&team](int k, std::array<long long, 4> &acc) {
        for (int i = 1; i <= 32; ++i) {
            const std::size_t at = 4 + 176 * std::size_t(k - 1) + 44 + 4 * std::size_t(i - 1);
            const long long a = std::int32_t(std::uint32_t(team.bytes[at]) | std::uint32_t(team.bytes[at + 1]) << 8
                                             | std::uint32_t(team.bytes[at + 2]) << 16
                                             | std::uint32_t(team.bytes[at + 3]) << 24);
            if (a >= 0)
                acc[std::size_t((i - 1) % 4)] += a;
        }
    };
    std::array<long long, 4> acc{};
    int divisor = 1;
    if (view > 0) {
        sums(view, acc);
    } else {
        divisor = std::min<int>(team.bytes[0], 12);
        for (int k = 1; k <= divisor; ++k)
            sums(k, acc);
    }
    std::array<int, 4> out{};
    for (std::size_t d = 0; d < 4; ++d)
        out[d] = divisor == 0 ? 0 : int((acc[d] % 65536) / divisor);
    return out;
}

TEST_F(TeamRecord, RandomAndMutatedRecordsReadAndScoreSafely)
{
    std::mt19937 random(20261211);
    const std::int32_t extremes[] = {0, 1, -1, 65535, 65536, 65537, INT_MAX, INT_MIN, 10000};
    const QString path = dir.path(QStringLiteral("fuzz.dat"));
    const QByteArray sample = SampleTeam().bytes();
    for (int round = 0; round < 3000; ++round) {
        QByteArray data = round % 2 ? sample : QByteArray(TeamRecordBuilder::Size, '\0');
        if (round % 2 == 0) {
            for (char &c : data)
                c = char(random() & 0xFF);
        }
        for (int flips = int(random() % 64); flips > 0; --flips)
            data[random() % TeamRecordBuilder::Size] = char(random() & 0xFF);
        for (int k = 1; k <= 12; ++k) {
            if (random() % 3 == 0)
                data[4 + 176 * (k - 1)] = char(random() % 256);   // name length 0 to 255
            if (random() % 3 == 0) {
                const std::int32_t a = extremes[random() % std::size(extremes)];
                const int at = 4 + 176 * (k - 1) + 44 + 4 * int(random() % 32);
                for (int b = 0; b < 4; ++b)
                    data[at + b] = char(std::uint32_t(a) >> (8 * b));
            }
        }
        data[0] = char(random() % 256);
        const int length = int(random() % 2300);
        data = data.leftJustified(length, char(0x77), true);

        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(data), data.size());
        file.close();

        const int result = ReadTeamFile(path);
        ASSERT_EQ(result == 0, length >= TeamRecordBuilder::Size) << "round " << round;
        ASSERT_EQ(std::memcmp(TeamData.bytes.data(), data.constData(), std::size_t(std::min(length, 2116))), 0);
        for (std::uint8_t view : {1, 2, 3, 0}) {
            SelectedMember = view;
            ComputeProfile();
            const std::array<int, 4> got{ProfileScores.ScoreDauer, ProfileScores.ScoreNaehe,
                                         ProfileScores.ScoreWechsel, ProfileScores.ScoreDistanz};
            ASSERT_EQ(got, ReferenceScores(TeamData, view)) << "round " << round << " view " << int(view);
            ASSERT_LE(TeamData.MemberName(view ? view : 1).size(), 40);
        }
    }
}

} // namespace
