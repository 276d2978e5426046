#include "ScoreTable.h"

#include "Quadrivo1Profile.h"
#include "teamGLOBAL.h"

#include <algorithm>

namespace {

QByteArray Cell(const QString &text)
{
    QString cell = text;
    if (!cell.isEmpty() && QStringLiteral("=+-@").contains(cell.front()))
        cell.prepend(QLatin1Char('\''));   // text, not a formula
    if (cell.contains(QLatin1Char(';')) || cell.contains(QLatin1Char('"')) || cell.contains(QLatin1Char('\n'))
        || cell.contains(QLatin1Char('\r'))) {
        cell.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        cell = QLatin1Char('"') + cell + QLatin1Char('"');
    }
    return cell.toUtf8();
}

QByteArray Row(const QByteArray &view, const QString &name)
{
    ComputeProfile();
    return view + ';' + Cell(name) + ';' + QByteArray::number(ProfileScores.ScoreDauer) + ';'
        + QByteArray::number(ProfileScores.ScoreNaehe) + ';' + QByteArray::number(ProfileScores.ScoreWechsel) + ';'
        + QByteArray::number(ProfileScores.ScoreDistanz) + "\r\n";
}

} // namespace

QByteArray ScoreTable()
{
    QByteArray table = "\xEF\xBB\xBF" + QStringLiteral("Ansicht;Name;Dauer;Nähe;Wechsel;Distanz\r\n").toUtf8();
    const int members = std::min<int>(TeamData.MemberCount(), TeamFile::SlotCount);
    for (int k = 1; k <= members; ++k) {
        SelectedMember = std::uint8_t(k);
        table += Row(QByteArray::number(k), TeamData.MemberName(k));
    }
    SelectedMember = 0;
    table += Row("gesamt", QString());
    return table;
}
