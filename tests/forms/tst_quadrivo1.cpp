// The profile chart window: caption, title, drawing once, and its snapshot.
#include "Cp1252.h"
#include "FileDialog.h"
#include "ImageBox.h"
#include "JpegImage.h"
#include "ModalDriver.h"
#include "ProfileChart.h"
#include "Quadrivo1.h"
#include "Quadrivo1Profile.h"
#include "TeamRecordBuilder.h"
#include "TempDir.h"
#include "WindowTitle.h"
#include "teamGLOBAL.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QDir>
#include <QFile>
#include <QTest>

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

const QString Design = QStringLiteral("Velmarin: Auswertung Kestrani   Teammitglied");

void Load(const TeamRecordBuilder &team)
{
    const QByteArray bytes = team.bytes();
    std::memcpy(TeamData.bytes.data(), bytes.constData(), TeamData.bytes.size());
}

class ChartWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetTeamGlobals();
        ProfileScores = {};
        const QByteArray forty = EncodeCp1252(QStringLiteral("AbcdefghijKlmnopqrstUvwxyzäöüß0123456789"));
        TeamRecordBuilder team;
        team.count(3)
            .name(1, EncodeCp1252(QStringLiteral("Jürgen Weiß")))
            .name(2, QByteArray())
            .name(3, forty.left(40), 44)   // length byte above 40: the first 40 count
            .allAnswers(1, 1)
            .allAnswers(2, 2)
            .allAnswers(3, 3);
        Load(team);
    }

    // A window as the selection window makes one: created, then the member chosen, then shown.
    std::unique_ptr<Tquadrivo1frm> open(std::uint8_t member)
    {
        auto w = std::make_unique<Tquadrivo1frm>();
        SelectedMember = member;
        w->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        return w;
    }
};

TEST_F(ChartWindow, LayoutAsDesigned)
{
    Tquadrivo1frm w;
    EXPECT_EQ(w.windowTitle(), Design);
    EXPECT_EQ(w.button_ende->geometry(), QRect(640, 304, 113, 33));
    EXPECT_EQ(w.button_ende->text(), QStringLiteral("S&chließen"));
    EXPECT_EQ(w.Chart1->geometry(), QRect(112, 11, 465, 534));
    EXPECT_EQ(w.Image1->geometry(), QRect(672, 512, 81, 41));
    EXPECT_TRUE(w.Image1->isHidden());
    EXPECT_TRUE(w.Image1->picture().isNull());
    EXPECT_EQ(w.Image2->geometry(), QRect(656, 24, 129, 129));
    EXPECT_EQ(w.Image2->pictureRect(), QRect(0, 0, 129, 107));
    EXPECT_EQ(w.Chart1->Title(), QStringList{QStringLiteral("Velmarin-Auswertung")});
    EXPECT_TRUE(FirstActivation);
    EXPECT_EQ(w.Chart1->series().size(), 30u);
    for (int n = 1; n <= 30; ++n) {
        SCOPED_TRACE(n);
        const bool line = n <= 2 || (n >= 23 && n <= 26);
        EXPECT_EQ(w.series(n)->kind(), line ? ChartSeries::Kind::Line : ChartSeries::Kind::FastLine);
        EXPECT_EQ(w.series(n)->marksVisible(), n >= 27);
        EXPECT_TRUE(w.series(n)->points().empty());
    }
}

TEST_F(ChartWindow, CaptionAndTitleNameTheView)
{
    const QString forty = QStringLiteral("AbcdefghijKlmnopqrstUvwxyzäöüß0123456789");
    struct Case { const char *what; std::uint8_t member; QString caption; QStringList title; };
    const Case cases[] = {
        {"member", 1, Design + QStringLiteral(": Jürgen Weiß"),
         {QStringLiteral("Velmarin-Auswertung"), QStringLiteral("Name: Jürgen Weiß")}},
        {"empty name", 2, Design + QStringLiteral(": "), {QStringLiteral("Velmarin-Auswertung"), QStringLiteral("Name: ")}},
        {"stored name longer than 40", 3, Design + QStringLiteral(": ") + forty,
         {QStringLiteral("Velmarin-Auswertung"), QStringLiteral("Name: ") + forty}},
        {"whole team", 0, QStringLiteral("Velmarin: Auswertung Kestrani   Team"), {QStringLiteral("Velmarin-Auswertung")}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const auto w = open(c.member);
        EXPECT_EQ(w->windowTitle(), c.caption);
        EXPECT_EQ(w->Chart1->Title(), c.title);
        EXPECT_LE(w->Chart1->Title().back().size(), 46);
        EXPECT_FALSE(FirstActivation);
    }
}

// Control characters in a name reach the window title only as stand-ins; the chart's
// title shows the name as stored. Non-BMP characters, which titles can carry, pass whole.
TEST_F(ChartWindow, ControlCharactersInNamesAreStandInsInTheTitleOnly)
{
    const QString r(QChar::ReplacementCharacter);
    struct Case { const char *what; QByteArray stored; QString inTitle; };
    const Case cases[] = {
        {"an escape sequence", QByteArray("Eva\x1B[2J\x1B]0;x\x07"), QStringLiteral("Eva") + r + QStringLiteral("[2J") + r + QStringLiteral("]0;x") + r},
        {"the five C1 bytes", QByteArray("\x81\x8D\x8F\x90\x9D"), r + r + r + r + r},
        {"NUL inside the name", QByteArray("Ab\0cd", 5), QStringLiteral("Ab") + r + QStringLiteral("cd")},
        {"DEL, tab, newline", QByteArray("a\x7F" "b\tc\nd"), QStringLiteral("a") + r + QStringLiteral("b") + r + QStringLiteral("c") + r + QStringLiteral("d")},
        {"Windows-1252 letters stay", QByteArray("J\xFCrgen \x80 \x9F"), QStringLiteral("Jürgen € Ÿ")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        TeamRecordBuilder team;
        team.count(1).name(1, c.stored);
        Load(team);
        const auto w = open(1);
        EXPECT_EQ(w->windowTitle(), Design + QStringLiteral(": ") + c.inTitle);
        EXPECT_EQ(w->Chart1->Title().back(), QStringLiteral("Name: ") + TeamData.MemberName(1));
        EXPECT_EQ(TeamData.MemberName(1).size(), c.stored.size());
    }
    const QString nonBmp = QStringLiteral("x\U0001F600y");
    EXPECT_EQ(TitleSafe(nonBmp), nonBmp);
}

TEST_F(ChartWindow, FirstActivationDrawsTheTableOfPoints)
{
    const auto w = open(1);
    EXPECT_FALSE(w->Chart1->axisVisible());
    EXPECT_EQ(w->Chart1->frameColor(), ChartColors::White);
    using P = std::vector<std::pair<double, double>>;
    const auto points = [&w](int n) {
        P out;
        for (const auto &p : w->series(n)->points())
            out.emplace_back(p.x, p.y);
        return out;
    };
    EXPECT_EQ(points(1), (P{{0, -16}, {0, 16}}));
    EXPECT_EQ(points(2), (P{{-16, 0}, {16, 0}}));
    EXPECT_EQ(points(6), (P{{-1, 16}, {1, 16}}));
    EXPECT_EQ(points(11), (P{{-1, -16}, {1, -16}}));
    EXPECT_EQ(points(13), (P{{4, 1}, {4, -1}}));
    EXPECT_EQ(points(21), (P{{-16, 1}, {-16, -1}}));
    for (int empty : {7, 12, 17, 22})
        EXPECT_TRUE(points(empty).empty()) << empty;
    // Member 1 answered 1 everywhere: 8 in every dimension.
    EXPECT_EQ(points(23), (P{{0, 8}, {8, 0}}));
    EXPECT_EQ(points(24), (P{{8, 0}, {0, -8}}));
    EXPECT_EQ(points(25), (P{{0, -8}, {-8, 0}}));
    EXPECT_EQ(points(26), (P{{-8, 0}, {0, 8}}));
    for (int n = 23; n <= 26; ++n) {
        EXPECT_EQ(w->series(n)->penWidth(), 2);
        EXPECT_EQ(w->series(n)->penColor(), ChartColors::Navy);
        EXPECT_EQ(w->series(n)->points().back().color, ChartColors::Navy);
    }
    EXPECT_EQ(w->series(1)->points().back().color, ChartColors::Grey);
    EXPECT_EQ(points(27), (P{{16, 0}}));
    EXPECT_EQ(points(30), (P{{3, -17}}));
    EXPECT_EQ(w->Series28->points().front().label, QStringLiteral("Nähe"));
    EXPECT_EQ(w->Series29->points().front().label, QStringLiteral("Dauer"));
    // The scores also as text, for users who cannot read the picture.
    EXPECT_EQ(w->Chart1->accessibleDescription(), QStringLiteral("Dauer 8, Nähe 8, Wechsel 8, Distanz 8"));
    EXPECT_EQ(w->Chart1->toolTip(), w->Chart1->accessibleDescription());
}

TEST_F(ChartWindow, AccessibleDescriptionCarriesTheScoresOfTheViewShown)
{
    for (std::uint8_t member : {3, 0}) {
        SCOPED_TRACE(int(member));
        const auto w = open(member);
        QAccessibleInterface *chart = QAccessible::queryAccessibleInterface(w->Chart1);
        ASSERT_NE(chart, nullptr);
        // Member 3 answered 3 everywhere; the team averages 8, 16 and 24.
        const QString expected = member == 3 ? QStringLiteral("Dauer 24, Nähe 24, Wechsel 24, Distanz 24")
                                             : QStringLiteral("Dauer 16, Nähe 16, Wechsel 16, Distanz 16");
        EXPECT_EQ(chart->text(QAccessible::Description), expected);
        EXPECT_FALSE(chart->text(QAccessible::Name).isEmpty());
    }
}

TEST_F(ChartWindow, EachWindowComputesAndDrawsOnceAndNamesOnce)
{
    const auto first = open(1);
    const auto second = open(1);
    for (Tquadrivo1frm *w : {first.get(), second.get()}) {
        EXPECT_EQ(w->windowTitle(), Design + QStringLiteral(": Jürgen Weiß"));
        EXPECT_EQ(w->Series23->points().size(), 2u);
    }
    // Later activations (a message box closing, another application) change nothing.
    ProfileScores = {};
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(first.get(), &activate);
    first->hide();
    first->show();
    EXPECT_EQ(first->windowTitle(), Design + QStringLiteral(": Jürgen Weiß"));
    EXPECT_EQ(first->Series23->points().size(), 2u);
    EXPECT_EQ(first->Chart1->Title().size(), 2);
    EXPECT_EQ(ProfileScores.ScoreDauer, 0) << "scores computed again";
}

// A screen picture's 32-bit words go to the encoder as they are; the file must be byte
// for byte what the same picture converted to three bytes a pixel gives.
TEST_F(ChartWindow, ScreenWordsEncodeToTheSameBytesAsRgb)
{
    for (std::uint8_t member : {1, 0}) {
        SCOPED_TRACE(member);
        const auto w = open(member);
        for (const qreal ratio : {1.0, 1.5}) {
            QImage words(QSize(808, 580) * ratio, QImage::Format_RGB32);
            words.setDevicePixelRatio(ratio);
            words.fill(Qt::white);
            w->render(&words);
            ASSERT_EQ(words.format(), QImage::Format_RGB32);
            const QImage rgb = words.convertToFormat(QImage::Format_RGB888);
            const auto fromWords = EncodeJpeg({words.width(), words.height(), words.constBits(),
                                               std::size_t(words.bytesPerLine()), RgbView::Layout::Xrgb32});
            const auto fromRgb = EncodeJpeg({rgb.width(), rgb.height(), rgb.constBits(), std::size_t(rgb.bytesPerLine()),
                                             RgbView::Layout::Rgb888});
            EXPECT_GT(fromRgb.size(), 10000u);
            EXPECT_TRUE(fromWords == fromRgb);
        }
    }
}

TEST_F(ChartWindow, EmptyTeamShowsCrossAndLabelsOnly)
{
    Load(TeamRecordBuilder().count(0).allAnswers(1, 5));
    const auto w = open(0);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Velmarin: Auswertung Kestrani   Team"));
    EXPECT_EQ(w->Series23->points().front().y, 0.0);
    EXPECT_EQ(w->Series23->points().back().x, 0.0);
    EXPECT_EQ(w->Series1->points().size(), 2u);
    EXPECT_EQ(w->Series30->points().size(), 1u);
}

// Closing with the button saves the window as the screen shows it.
class Snapshot : public ChartWindow
{
protected:
    void SetUp() override
    {
        ChartWindow::SetUp();
        DataFileName = QFile::encodeName(dir.path(QStringLiteral("TEAM.dat")));
        SaveGraphics = true;
    }

    QString file(const QString &name) const { return dir.path(name); }
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot); }
    static QImage decode(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? DecodeJpeg(f.readAll()) : QImage();
    }

    // Shows the window modally, as the selection window does, and lets `close` end it.
    void runModal(std::uint8_t member, const std::function<void(Tquadrivo1frm *)> &close)
    {
        auto w = std::make_unique<Tquadrivo1frm>();
        SelectedMember = member;
        driver.then([&close](QWidget *widget) { close(qobject_cast<Tquadrivo1frm *>(widget)); });
        w->exec();
        window = std::move(w);
    }

    TempDir dir;
    ModalDriver driver;
    std::unique_ptr<Tquadrivo1frm> window;
};

TEST_F(Snapshot, ButtonWritesTheWindowWithoutTheButton)
{
    QSize outer;
    QPoint clientOffset;
    runModal(2, [&](Tquadrivo1frm *w) {
        outer = w->frameGeometry().size();
        clientOffset = w->geometry().topLeft() - w->frameGeometry().topLeft();
        w->button_ende->click();
    });
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(window->button_ende->isHidden());
    EXPECT_EQ(files(), (QStringList{QStringLiteral("TEAM2.jpg")}));
    const QImage picture = decode(file(QStringLiteral("TEAM2.jpg")));
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), outer * window->devicePixelRatio());
    EXPECT_EQ(window->Image1->picture().size(), picture.size());   // the capture stays with Image1
    // Where the button was, the white window shows.
    int dark = 0;
    for (int y = 304; y < 337; ++y)
        for (int x = 640; x < 753; ++x)
            dark += qGray(picture.pixel(QPoint(x, y) + clientOffset)) < 200;
    EXPECT_EQ(dark, 0);
}

TEST_F(Snapshot, WholeTeamAndReplacingAnEarlierFile)
{
    QFile earlier(file(QStringLiteral("TEAM-gesamt.jpg")));
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("old");
    earlier.close();
    runModal(0, [](Tquadrivo1frm *w) { QTest::keyClick(w, Qt::Key_Return); });   // Enter presses the button
    EXPECT_EQ(files(), QStringList{QStringLiteral("TEAM-gesamt.jpg")});
    EXPECT_FALSE(decode(file(QStringLiteral("TEAM-gesamt.jpg"))).isNull());
}

TEST_F(Snapshot, OtherWaysOfClosingWriteNothing)
{
    struct Case { const char *what; bool save; std::function<void(Tquadrivo1frm *)> close; bool buttonHidden; };
    const Case cases[] = {
        {"button without snapshots", false, [](Tquadrivo1frm *w) { w->button_ende->click(); }, false},
        {"title bar", true, [](Tquadrivo1frm *w) { w->close(); }, false},
        {"Escape", true, [](Tquadrivo1frm *w) { QTest::keyClick(w, Qt::Key_Escape); }, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        SaveGraphics = c.save;
        runModal(1, c.close);
        EXPECT_FALSE(window->isVisible());
        EXPECT_EQ(window->button_ende->isHidden(), c.buttonHidden);
        EXPECT_TRUE(files().isEmpty());
    }
}

TEST_F(Snapshot, FailuresAreShownAndTheWindowStillCloses)
{
    struct Case { const char *what; QString dataFile; QString target; bool makeFolder; };
    const Case cases[] = {
        {"name taken by a folder", file(QStringLiteral("TEAM.dat")), file(QStringLiteral("TEAM1.jpg")), true},
        {"missing folder", file(QStringLiteral("fehlt/TEAM.dat")), file(QStringLiteral("fehlt/TEAM1.jpg")), false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        if (c.makeFolder) {
            ASSERT_TRUE(QDir().mkpath(c.target));
        }
        DataFileName = QFile::encodeName(c.dataFile);
        QString text, caption;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        bool buttonHiddenMeanwhile = false;
        runModal(1, [&](Tquadrivo1frm *w) {
            driver.then([&, w](QWidget *box) {
                auto *m = qobject_cast<QMessageBox *>(box);
                ASSERT_NE(m, nullptr);
                text = m->text();
                caption = m->windowTitle();
                icon = m->icon();
                buttonHiddenMeanwhile = w->button_ende->isHidden();
                m->buttons().front()->click();
            });
            w->button_ende->click();
        });
        EXPECT_EQ(text, QStringLiteral("Datei %1 kann nicht erstellt werden.").arg(c.target));
        EXPECT_EQ(caption, QStringLiteral("Velmarin-Auswertung"));
        EXPECT_EQ(icon, QMessageBox::Critical);
        EXPECT_TRUE(buttonHiddenMeanwhile);
        EXPECT_FALSE(window->isVisible());
        // Nothing written: only the folder that took the name is there, still a folder.
        EXPECT_EQ(files(), QStringList{QStringLiteral("TEAM1.jpg")});
        EXPECT_TRUE(QFileInfo(file(QStringLiteral("TEAM1.jpg"))).isDir());
        EXPECT_FALSE(QFileInfo::exists(file(QStringLiteral("fehlt"))));
    }
}

} // namespace

namespace {

// The chart beyond the screen: the context menu's actions, the clipboard, the files.
TEST_F(Snapshot, ChartGoesToTheClipboardAndToFilesWithoutTouchingTheWindow)
{
    SaveGraphics = false;
    runModal(1, [&](Tquadrivo1frm *w) {
        EXPECT_EQ(w->Chart1->contextMenuPolicy(), Qt::ActionsContextMenu);
        QStringList texts;
        for (QAction *a : w->Chart1->actions())
            texts << a->text() + QLatin1Char('|') + a->shortcut().toString();
        EXPECT_EQ(texts, (QStringList{QStringLiteral("Bild &kopieren|Ctrl+C"), QStringLiteral("&Speichern unter …|"),
                                      QStringLiteral("&Drucken …|Ctrl+P")}));
        const QImage before = w->grab().toImage();

        // Ctrl+C anywhere in the window: the chart panel as drawn, at twice its size.
        QApplication::clipboard()->clear();
        QTest::keyClick(w, Qt::Key_C, Qt::ControlModifier);
        const QImage copied = QApplication::clipboard()->image();
        EXPECT_EQ(copied.size(), w->Chart1->size() * 2);
        EXPECT_EQ(copied.convertToFormat(QImage::Format_RGB32),
                  w->Chart1->renderToImage(w->Chart1->size(), 2.0).convertToFormat(QImage::Format_RGB32));

        // Save as: preset to the data file's folder and the snapshot rule's name, .png.
        for (const QString &typed : {QString(), QStringLiteral("Profil.pdf")}) {
            driver.then([&](QWidget *d) {
                auto *dialog = qobject_cast<FileDialog *>(d);
                ASSERT_NE(dialog, nullptr);
                EXPECT_EQ(dialog->folder(), QFile::encodeName(dir.path()));
                EXPECT_EQ(dialog->fileNameEdit()->text(), QStringLiteral("TEAM1.png"));
                if (!typed.isEmpty())
                    dialog->fileNameEdit()->setText(typed);
                dialog->accept();
            });
            w->SaveChartAs();
        }
        EXPECT_EQ(w->grab().toImage(), before);   // the window looks as it did
        w->reject();
    });
    EXPECT_EQ(files(), (QStringList{QStringLiteral("Profil.pdf"), QStringLiteral("TEAM1.png")}));
    EXPECT_EQ(QImage(file(QStringLiteral("TEAM1.png"))).size(), window->Chart1->size() * 2);
    EXPECT_TRUE(QFile(file(QStringLiteral("Profil.pdf"))).open(QIODevice::ReadOnly));
    EXPECT_EQ(driver.unexpected(), 0);
}

} // namespace
