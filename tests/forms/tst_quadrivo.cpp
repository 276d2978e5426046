// The team selection window: start-up, the one-time work, the view buttons.
#include "FileDialog.h"
#include "ModalDriver.h"
#include "Quadrivo.h"
#include "Quadrivo1.h"
#include "TeamRecordBuilder.h"
#include "TempDir.h"
#include "teamGLOBAL.h"

#include <QAccessible>
#include <QDir>
#include <QLabel>
#include "ImageBox.h"
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// The main window has closed and, as the only window that ends the program when it
// closes, the event loop ends with it; the end-to-end test sees the process exit.
void ExpectProgramEnds(const Tquadrivofrm &form)
{
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(form.testAttribute(Qt::WA_QuitOnClose));
    for (QWidget *w : QApplication::topLevelWidgets())
        EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
}

class SelectionWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetTeamGlobals();
        teamFile = dir.path(QStringLiteral("TEAM.dat"));
        team.count(3).name(1, "Ada").name(2, "Bea").name(3, "Cem").allAnswers(1, 1).allAnswers(2, 2);
    }

    void TearDown() override
    {
        form.reset();
        EXPECT_EQ(driver.unexpected(), 0) << "a modal widget opened that the test did not expect";
    }

    // Shows the window and lets its one-time work run against the scripted answers.
    void start()
    {
        form = std::make_unique<Tquadrivofrm>();
        quadrivofrm = form.get();
        form->show();
        ASSERT_TRUE(QTest::qWaitFor([this] { return driver.done() && QApplication::activeModalWidget() == nullptr; }));
        QTest::qWait(20);
    }

    void startWith(const TeamRecordBuilder &record, ModalDriver::Step answer = ModalDriver::clickButton("&Nein"))
    {
        ASSERT_TRUE(record.writeTo(teamFile));
        driver.then(ModalDriver::chooseFile(teamFile));
        driver.then(answer);
        start();
    }

    TempDir dir;
    QString teamFile;
    TeamRecordBuilder team;
    ModalDriver driver;
    std::unique_ptr<Tquadrivofrm> form;
};

TEST_F(SelectionWindow, LayoutAsDesigned)
{
    Tquadrivofrm w;
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Velmarin: Auswertung Kestrani"));
    struct Part { QWidget *widget; QRect geometry; };
    const Part parts[] = {
        {w.Edit1, {216, 40, 41, 25}}, {w.Button1, {32, 76, 110, 33}}, {w.Button2, {32, 116, 110, 33}},
        {w.Button3, {32, 156, 110, 33}}, {w.Button13, {32, 228, 113, 33}}, {w.button_ende, {408, 224, 113, 33}},
        {w.Image1, {404, 8, 137, 129}}, {w.Label3, {32, 298, 380, 14}},
    };
    for (const Part &p : parts) {
        SCOPED_TRACE(p.widget->objectName().toStdString());
        EXPECT_EQ(p.widget->geometry(), p.geometry);
    }
    EXPECT_EQ(w.Label18->geometry().right(), 208);   // right edge at x = 209, exclusive
    EXPECT_EQ(w.Label18->text(), QStringLiteral("Anzahl der Teammitglieder"));
    EXPECT_TRUE(w.Label18->alignment() & Qt::AlignRight);
    EXPECT_TRUE(w.Edit1->isReadOnly());
    EXPECT_TRUE(w.Edit1->text().isEmpty());
    EXPECT_EQ(w.Button13->text(), QStringLiteral("Gesamtteam"));
    EXPECT_EQ(w.button_ende->text(), QStringLiteral("S&chließen"));
    EXPECT_EQ(w.Edit1->font().pixelSize(), 15);
    for (QPushButton *b : {w.Button1, w.Button2, w.Button3, w.Button13}) {
        EXPECT_TRUE(b->font().bold());
        EXPECT_EQ(b->font().pixelSize(), 11);
    }
    EXPECT_FALSE(w.button_ende->font().bold());
    EXPECT_EQ(w.Image1->pictureRect(), QRect(0, 0, 137, 114));   // 400 x 334 scaled down
    // Tab order: Edit1, the four view buttons, the close button.
    QWidget *expected[] = {w.Edit1, w.Button1, w.Button2, w.Button3, w.Button13, w.button_ende};
    const auto nextTabStop = [](QWidget *from) {
        QWidget *next = from->nextInFocusChain();
        while (next != from && !(next->focusPolicy() & Qt::TabFocus))
            next = next->nextInFocusChain();
        return next;
    };
    for (std::size_t i = 0; i + 1 < std::size(expected); ++i)
        EXPECT_EQ(nextTabStop(expected[i]), expected[i + 1]) << i;
    EXPECT_EQ(w.palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_TRUE(FirstActivation);
}

// The program makes the window's components only once the window is on the screen; they
// must be those of the design all the same, shown, and readable by a screen reader.
TEST_F(SelectionWindow, ComponentsMadeAfterShowingAreThoseOfTheDesign)
{
    const Tquadrivofrm designed;
    form = std::make_unique<Tquadrivofrm>(nullptr, Tquadrivofrm::Components::AfterShowing);
    quadrivofrm = form.get();
    EXPECT_EQ(form->Button1, nullptr);
    EXPECT_TRUE(FirstActivation);
    driver.then(ModalDriver::reject());   // the one-time work's dialog, once shown
    form->show();
    const auto pairs = [](const Tquadrivofrm &w) {
        return std::vector<QWidget *>{w.button_ende, w.Label18, w.Edit1, w.Button1, w.Button2,
                                      w.Button3, w.Button13, w.Image1, w.Label3};
    };
    const auto made = pairs(*form), expected = pairs(designed);
    for (std::size_t i = 0; i < made.size(); ++i) {
        ASSERT_NE(made[i], nullptr) << i;
        SCOPED_TRACE(expected[i]->objectName().toStdString());
        EXPECT_TRUE(made[i]->isVisible());
        EXPECT_EQ(made[i]->geometry(), expected[i]->geometry());
        EXPECT_EQ(made[i]->font(), expected[i]->font());
        EXPECT_EQ(made[i]->focusPolicy(), expected[i]->focusPolicy());
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(made[i]);
        QAccessibleInterface *b = QAccessible::queryAccessibleInterface(expected[i]);
        ASSERT_TRUE(a && b);
        EXPECT_EQ(a->text(QAccessible::Name), b->text(QAccessible::Name));
        EXPECT_FALSE(a->text(QAccessible::Name).isEmpty()) << "no name for a screen reader";
    }
    EXPECT_EQ(QAccessible::queryAccessibleInterface(form->Button1)->text(QAccessible::Name),
              QStringLiteral("Teammitglied 1"));
    EXPECT_EQ(form->Button1->nextInFocusChain(), form->Button2);
    ASSERT_TRUE(QTest::qWaitFor([this] { return driver.done() && !form->isVisible(); }));   // cancelled: ends
}

TEST_F(SelectionWindow, OpenDialogIsPresetAsDesigned)
{
    bool seen = false;
    driver.then([&](QWidget *w) {
        auto *dialog = qobject_cast<FileDialog *>(w);
        ASSERT_NE(dialog, nullptr);
        seen = true;
        EXPECT_EQ(dialog, form->OpenDialog1);
        EXPECT_EQ(dialog->fileNameEdit()->text(), QStringLiteral("TEAM.dat"));
        EXPECT_EQ(dialog->folder(), WorkingFolder());
        EXPECT_TRUE(dialog->isSizeGripEnabled());
        EXPECT_FALSE(dialog->windowTitle().contains(QStringLiteral("Velmarin")));
        ModalDriver::reject()(w);
    });
    start();
    EXPECT_TRUE(seen);
    EXPECT_EQ(form->OpenDialog1, nullptr);   // released after its one use
}

TEST_F(SelectionWindow, CountDecidesTheButtons)
{
    struct Case { int count; bool button2; bool button3; };
    const Case cases[] = {{0, false, false}, {1, false, false}, {2, true, false},
                          {3, true, true}, {12, true, true}, {255, true, true}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.count);
        ResetTeamGlobals();
        startWith(TeamRecordBuilder(team).count(std::uint8_t(c.count)));
        EXPECT_EQ(form->Edit1->text(), QString::number(c.count));
        EXPECT_FALSE(form->Button1->isHidden());
        EXPECT_FALSE(form->Button13->isHidden());
        EXPECT_EQ(!form->Button2->isHidden(), c.button2);
        EXPECT_EQ(!form->Button3->isHidden(), c.button3);
        EXPECT_EQ(form->focusWidget(), form->Button1);
        EXPECT_FALSE(FirstActivation);
        EXPECT_EQ(DataFileName, QFile::encodeName(teamFile));
        form.reset();
    }
}

TEST_F(SelectionWindow, OnlyJaAsksForSnapshots)
{
    QMessageBox *box = nullptr;
    const auto inspect = [&box](ModalDriver::Step then) {
        return [&box, then](QWidget *w) {
            box = qobject_cast<QMessageBox *>(w);
            if (box) {
                EXPECT_EQ(box->windowTitle(), QStringLiteral("Bestätigung"));
                EXPECT_EQ(box->text(), QStringLiteral("Sollen die Grafiken abgespeichert werden?"));
                EXPECT_EQ(box->icon(), QMessageBox::Question);
                EXPECT_EQ(box->defaultButton()->text(), QStringLiteral("&Ja"));
                EXPECT_EQ(qobject_cast<QPushButton *>(box->escapeButton())->text(), QStringLiteral("&Nein"));
            }
            then(w);
        };
    };
    struct Case { const char *what; ModalDriver::Step answer; bool saves; };
    const Case cases[] = {
        {"Ja", ModalDriver::clickButton("&Ja"), true},
        {"Enter takes the default", [](QWidget *w) { QTest::keyClick(w, Qt::Key_Return); }, true},
        {"Nein", ModalDriver::clickButton("&Nein"), false},
        {"Escape", [](QWidget *w) { QTest::keyClick(w, Qt::Key_Escape); }, false},
        {"closing the box", [](QWidget *w) { w->close(); }, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        ResetTeamGlobals();
        box = nullptr;
        startWith(team, inspect(c.answer));
        EXPECT_NE(box, nullptr);
        EXPECT_EQ(SaveGraphics, c.saves);
        EXPECT_EQ(form->Edit1->text(), QStringLiteral("3"));
        form.reset();
    }
}

TEST_F(SelectionWindow, CancelledDialogEndsTheProgramAtOnce)
{
    driver.then(ModalDriver::reject());   // nothing else may open: no question, no message
    start();
    ExpectProgramEnds(*form);
    EXPECT_TRUE(form->Edit1->text().isEmpty());
    EXPECT_FALSE(SaveGraphics);
}

TEST_F(SelectionWindow, UnreadableFileShowsThePlainMessageAndEnds)
{
    ASSERT_TRUE(team.writeTo(teamFile, 2115));
    driver.then(ModalDriver::chooseFile(teamFile));
    driver.then(ModalDriver::clickButton("&Ja"));
    driver.then([](QWidget *w) {
        auto *box = qobject_cast<QMessageBox *>(w);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->windowTitle(), QStringLiteral("Velmarin-Auswertung"));
        EXPECT_EQ(box->text(), QStringLiteral("Datei lässt sich nicht öffnen"));
        EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
        ASSERT_EQ(box->buttons().size(), 1);
        EXPECT_EQ(box->buttons().front()->text(), QStringLiteral("OK"));
        box->buttons().front()->click();
    });
    start();
    ExpectProgramEnds(*form);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("TEAM.dat")});
}

TEST_F(SelectionWindow, EachViewButtonShowsItsOwnChartWindow)
{
    startWith(team);
    struct Case { QPushButton *button; int member; QWidget *focusAfter; };
    const Case cases[] = {{form->Button1, 1, form->Button1}, {form->Button2, 2, form->Button2},
                          {form->Button3, 3, form->Button3}, {form->Button13, 0, form->button_ende},
                          {form->Button2, 2, form->Button2}};   // again: a new window, still regular
    QList<QPointer<Tquadrivo1frm>> windows;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.member);
        int seenMember = -1;
        QWidget *seenOwner = nullptr;
        driver.then([&](QWidget *w) {
            auto *chart = qobject_cast<Tquadrivo1frm *>(w);
            ASSERT_NE(chart, nullptr);
            EXPECT_EQ(chart, quadrivo1frm);
            windows.append(chart);
            seenMember = SelectedMember;
            seenOwner = chart->parentWidget();
            chart->close();
        });
        c.button->setFocus();
        c.button->click();
        EXPECT_EQ(seenMember, c.member);
        EXPECT_EQ(seenOwner, form.get());
        EXPECT_EQ(quadrivo1frm, nullptr);
        EXPECT_TRUE(windows.back().isNull()) << "the chart window is destroyed after its view";
        EXPECT_FALSE(c.button->font().bold());
        EXPECT_EQ(form->focusWidget(), c.focusAfter);
    }
    EXPECT_EQ(windows.size(), 5);
    EXPECT_FALSE(FirstActivation);
    EXPECT_TRUE(form->Button1->font().bold() == false && form->Button3->font().bold() == false);
}

TEST_F(SelectionWindow, LaterActivationsRepeatNothing)
{
    startWith(team);
    form->Button2->setFocus();
    // A message box over the window, then the focus back, then a switch to another
    // application and back: no dialog opens again and the focus stays.
    driver.then(ModalDriver::clickButton("OK"));
    QMessageBox::information(form.get(), QStringLiteral("x"), QStringLiteral("y"));
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(form.get(), &deactivate);
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(form.get(), &activate);
    QTest::qWait(50);
    EXPECT_EQ(form->focusWidget(), form->Button2);
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("3"));
    EXPECT_TRUE(driver.done());
}

TEST_F(SelectionWindow, CloseButtonEndsTheProgram)
{
    startWith(team);
    form->button_ende->click();
    ExpectProgramEnds(*form);
}

} // namespace
