// The program run from a terminal: --export without any display, --help, --version and
// wrong arguments, with their exit status, messages and files.
#include "Cp1252.h"
#include "Quadrivo1Profile.h"
#include "TeamRecordBuilder.h"
#include "TempDir.h"
#include "teamGLOBAL.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Outcome {
    int status = -1;
    QString out;
    QString err;
};

// The program as a terminal starts it, with no display of any kind.
Outcome Quadrivo(const QStringList &arguments, bool unprivileged = false)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    p.setProcessEnvironment(env);
    if (unprivileged)
        p.setChildProcessModifier([] {
            if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
                ::_exit(99);
        });
    p.start(QStringLiteral(QUADRIVO_BINARY), arguments);
    if (!p.waitForFinished(60000))
        return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

QStringList Files(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

QByteArray Content(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The text of a PDF, as a reader extracts it.
QString PdfText(const QString &path)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

class Export : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir().mkpath(out()));
        ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
    }
    QString out() const { return dir.path(QStringLiteral("aus")); }
    QString data() const { return dir.path(QStringLiteral("Team Nord.dat")); }

    TempDir dir;
};

TEST_F(Export, EveryMemberAndTheTeamAsPdfPngAndTheScoresAsCsv)
{
    TeamRecordBuilder team;
    team.count(5);
    for (int k = 1; k <= 5; ++k)
        team.name(k, EncodeCp1252(QStringLiteral("Mitglied Nr. %1").arg(k))).allAnswers(k, k % 3);
    team.answers(2, {2, 1, 0, -1, 2, 2, 1, 1, 0, 2, 2, 1, 1, 0, 2, 1, 2, 2, 1, 0, 1, 1, 2, 2, 0, 1, 2, 1, 2, 0, 1, 1});
    ASSERT_TRUE(team.writeTo(data()));

    const Outcome run = Quadrivo({QStringLiteral("--export"), out(), data()});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();

    QStringList expected{QStringLiteral("Team Nord-Werte.csv")};
    for (const QString &view : {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"),
                                QStringLiteral("5"), QStringLiteral("-gesamt")})
        expected << QStringLiteral("Team Nord%1.pdf").arg(view) << QStringLiteral("Team Nord%1.png").arg(view);
    expected.sort();
    EXPECT_EQ(Files(out()), expected);

    // The CSV's scores are those of the scoring, view by view.
    std::memcpy(TeamData.bytes.data(), team.bytes().constData(), TeamData.bytes.size());
    QStringList rows{QStringLiteral("Ansicht;Name;Dauer;Nähe;Wechsel;Distanz")};
    for (int view : {1, 2, 3, 4, 5, 0}) {
        SelectedMember = std::uint8_t(view);
        ComputeProfile();
        rows << QStringLiteral("%1;%2;%3;%4;%5;%6")
                    .arg(view ? QString::number(view) : QStringLiteral("gesamt"),
                         view ? QStringLiteral("Mitglied Nr. %1").arg(view) : QString())
                    .arg(ProfileScores.ScoreDauer)
                    .arg(ProfileScores.ScoreNaehe)
                    .arg(ProfileScores.ScoreWechsel)
                    .arg(ProfileScores.ScoreDistanz);
    }
    EXPECT_EQ(Content(out() + QStringLiteral("/Team Nord-Werte.csv")),
              "\xEF\xBB\xBF" + (rows.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());

    // The PDF is the chart drawn as vectors: a page of the chart's size, its texts text,
    // no picture in it.
    for (const QString &view : {QStringLiteral("4"), QStringLiteral("-gesamt")}) {
        SCOPED_TRACE(view.toStdString());
        const QString pdf = out() + QStringLiteral("/Team Nord%1.pdf").arg(view);
        const QByteArray bytes = Content(pdf);
        EXPECT_TRUE(bytes.startsWith("%PDF-"));
        EXPECT_FALSE(bytes.contains("/Subtype /Image")) << "a picture in the PDF";
        EXPECT_TRUE(bytes.contains("/MediaBox [0 0 349")) << "the page is not the chart's 465 x 534 px";
        const QString text = PdfText(pdf);
        EXPECT_TRUE(text.contains(QStringLiteral("Velmarin-Auswertung"))) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("Distanz")));
        EXPECT_EQ(text.contains(QStringLiteral("Name: Mitglied Nr. 4")), view == QStringLiteral("4"));
        const QImage png(out() + QStringLiteral("/Team Nord%1.png").arg(view));
        EXPECT_EQ(png.size(), QSize(930, 1068));   // the panel at twice its size
    }
}

TEST_F(Export, AnEmptyTeamGivesTheWholeTeamAlone)
{
    ASSERT_TRUE(TeamRecordBuilder().count(0).writeTo(data()));
    const Outcome run = Quadrivo({QStringLiteral("--export"), out(), data()});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(Files(out()), (QStringList{QStringLiteral("Team Nord-Werte.csv"), QStringLiteral("Team Nord-gesamt.pdf"),
                                         QStringLiteral("Team Nord-gesamt.png")}));
    EXPECT_EQ(Content(out() + QStringLiteral("/Team Nord-Werte.csv")),
              "\xEF\xBB\xBF" + QStringLiteral("Ansicht;Name;Dauer;Nähe;Wechsel;Distanz\r\ngesamt;;0;0;0;0\r\n").toUtf8());
}

TEST_F(Export, FailuresSayWhyAndWriteNothing)
{
    ASSERT_TRUE(TeamRecordBuilder().count(2).writeTo(data()));
    ASSERT_TRUE(TeamRecordBuilder().count(2).writeTo(dir.path(QStringLiteral("kurz.dat")), 2000));
    const QString readOnly = dir.path(QStringLiteral("schreibgeschuetzt"));
    ASSERT_TRUE(QDir().mkpath(readOnly));
    ASSERT_EQ(::chmod(QFile::encodeName(readOnly).constData(), 0555), 0);
    struct Case { const char *what; QString folder; QString file; bool unprivileged; QString message; };
    const Case cases[] = {
        {"a data file too short", out(), dir.path(QStringLiteral("kurz.dat")), false, QStringLiteral("lässt sich nicht öffnen")},
        {"a missing data file", out(), dir.path(QStringLiteral("fehlt.dat")), false, QStringLiteral("lässt sich nicht öffnen")},
        {"a missing folder", dir.path(QStringLiteral("fehlt")), data(), false, QStringLiteral("existiert nicht")},
        {"a folder that may not be written", readOnly, data(), true, QStringLiteral("kann nicht geschrieben werden")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const Outcome run = Quadrivo({QStringLiteral("--export"), c.folder, c.file}, c.unprivileged);
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(run.err.contains(c.message)) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(Files(out()).isEmpty());
        EXPECT_TRUE(Files(readOnly).isEmpty());
    }
}

TEST(Arguments, HelpVersionAndWrongArguments)
{
    struct Case { QStringList arguments; int status; const char *out; const char *err; };
    const Case cases[] = {
        {{QStringLiteral("--help")}, 0, "Aufruf: quadrivo [DATEI]", nullptr},
        {{QStringLiteral("--version")}, 0, "quadrivo 1.", nullptr},
        {{QStringLiteral("--farbig")}, 2, nullptr, "Unbekannte Option: --farbig"},
        {{QStringLiteral("a.dat"), QStringLiteral("b.dat")}, 2, nullptr, "Zu viele Argumente"},
        {{QStringLiteral("--export"), QStringLiteral("aus")}, 2, nullptr, "--export braucht"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        const Outcome run = Quadrivo(c.arguments);
        EXPECT_EQ(run.status, c.status);
        if (c.out) {
            EXPECT_TRUE(run.out.startsWith(QString::fromUtf8(c.out))) << run.out.toStdString();
            EXPECT_TRUE(run.err.isEmpty());
        } else {
            EXPECT_TRUE(run.out.isEmpty());
            EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.err))) << run.err.toStdString();
            EXPECT_TRUE(run.err.contains(QStringLiteral("Aufruf: quadrivo"))) << "no usage on stderr";
        }
    }
}

} // namespace
