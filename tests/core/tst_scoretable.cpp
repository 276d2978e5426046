// The score table of every member and the whole team, for spreadsheets.
#include "Cp1252.h"
#include "ScoreTable.h"
#include "TeamRecordBuilder.h"
#include "teamGLOBAL.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <cstring>

namespace {

void Load(const TeamRecordBuilder &team)
{
    ResetTeamGlobals();
    const QByteArray bytes = team.bytes();
    std::memcpy(TeamData.bytes.data(), bytes.constData(), TeamData.bytes.size());
}

QStringList Lines(const QByteArray &table)
{
    EXPECT_TRUE(table.startsWith("\xEF\xBB\xBF"));
    EXPECT_TRUE(table.endsWith("\r\n"));
    QStringList lines = QString::fromUtf8(table.mid(3)).split(QStringLiteral("\r\n"));
    lines.removeLast();
    return lines;
}

const QString Header = QStringLiteral("Ansicht;Name;Dauer;Nähe;Wechsel;Distanz");

TEST(ScoreTable, OneRowPerMemberAndTheWholeTeamLast)
{
    // Member k answers k everywhere, so its sums are 8k; member 3 leaves answer 3 out.
    TeamRecordBuilder team;
    team.count(5);
    for (int k = 1; k <= 5; ++k)
        team.name(k, EncodeCp1252(QStringLiteral("Mitglied %1 ä").arg(k))).allAnswers(k, k);
    std::array<std::int32_t, 32> third{};
    third.fill(3);
    third[2] = -1;
    team.answers(3, third);
    team.name(6, "nicht im Team").allAnswers(6, 100);   // beyond the count: no row, no effect
    Load(team);
    EXPECT_EQ(Lines(ScoreTable()), (QStringList{
                                       Header,
                                       QStringLiteral("1;Mitglied 1 ä;8;8;8;8"),
                                       QStringLiteral("2;Mitglied 2 ä;16;16;16;16"),
                                       QStringLiteral("3;Mitglied 3 ä;24;24;21;24"),
                                       QStringLiteral("4;Mitglied 4 ä;32;32;32;32"),
                                       QStringLiteral("5;Mitglied 5 ä;40;40;40;40"),
                                       // (8 + 16 + 24 + 32 + 40) / 5 = 24; Wechsel (120 - 3) / 5 = 23
                                       QStringLiteral("gesamt;;24;24;23;24"),
                                   }));
}

TEST(ScoreTable, EdgesOfTheCount)
{
    struct Case { const char *what; int count; int rows; QString team; };
    const Case cases[] = {
        {"no members: the whole team alone, all 0", 0, 0, QStringLiteral("gesamt;;0;0;0;0")},
        {"more than the record holds: its 12 slots", 200, 12, QStringLiteral("gesamt;;8;8;8;8")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        TeamRecordBuilder team;
        team.count(std::uint8_t(c.count));
        for (int k = 1; k <= 12; ++k)
            team.allAnswers(k, 1);
        Load(team);
        const QStringList lines = Lines(ScoreTable());
        ASSERT_EQ(lines.size(), c.rows + 2);
        EXPECT_EQ(lines.front(), Header);
        EXPECT_EQ(lines.back(), c.team);
    }
}

TEST(ScoreTable, NamesStayText)
{
    struct Case { QByteArray stored; QString cell; };
    const Case cases[] = {
        {"Weiß; Jürgen", QStringLiteral("\"Weiß; Jürgen\"")},
        {"Der \"Chef\"", QStringLiteral("\"Der \"\"Chef\"\"\"")},
        {"=HYPERLINK(\"x\")", QStringLiteral("\"'=HYPERLINK(\"\"x\"\")\"")},
        {"+49 170", QStringLiteral("'+49 170")},
        {"-1", QStringLiteral("'-1")},
        {"@SUMME", QStringLiteral("'@SUMME")},
        {"Zeile\nzwei", QStringLiteral("\"Zeile\nzwei\"")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.stored.constData());
        TeamRecordBuilder team;
        team.count(1).name(1, EncodeCp1252(QString::fromUtf8(c.stored)));
        Load(team);
        const QString table = QString::fromUtf8(ScoreTable());
        EXPECT_TRUE(table.contains(QStringLiteral("\r\n1;") + c.cell + QStringLiteral(";0;0;0;0\r\n")))
            << table.toStdString();
    }
}

} // namespace
