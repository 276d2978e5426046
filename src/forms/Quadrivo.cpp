#include "Quadrivo.h"

#include "Artwork.h"
#include "ErrorDisplay.h"
#include "FileDialog.h"
#include "ImageBox.h"
#include "Quadrivo1.h"
#include "WindowFrame.h"
#include "X11Screen.h"
#include "teamGLOBAL.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <utility>

Tquadrivofrm *quadrivofrm = nullptr;

namespace {

QPushButton *MakeViewButton(const QString &name, const QString &text, QRect geometry, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->setFont(PixelFont(QStringLiteral("MS Sans Serif"), 11, true));
    button->setAutoDefault(false);
    return button;
}

} // namespace

Tquadrivofrm::Tquadrivofrm(QWidget *parent, Components components) : QWidget(parent)
{
    setObjectName(QStringLiteral("quadrivofrm"));
    SetUpForm(this, QStringLiteral("Velmarin: Auswertung Kestrani"));
    PlaceWindowCentred(this, OuterSize);
    if (components == Components::AtCreation)
        CreateComponents();
    FormCreate(this);   // last: the window is made
}

void Tquadrivofrm::setVisible(bool visible)
{
    const bool firstShowing = visible && !button_ende;   // its components are still to be made
    if (firstShowing)
        PaintWhiteUntilDrawn(this);   // white, as it will be, until the first paint
    QWidget::setVisible(visible);   // on the screen now, not painted yet
    if (firstShowing) {
        CreateComponents();
        // Made after the window was shown, they show themselves before its first paint.
        for (QWidget *w : std::initializer_list<QWidget *>{button_ende, Label18, Edit1, Button1, Button2, Button3,
                                                           Button13, Image1, Label3})
            w->show();
    }
}

void Tquadrivofrm::CreateComponents()
{
    button_ende = MakeCloseButton(this, {408, 224, 113, 33});

    Label18 = new QLabel(QStringLiteral("Anzahl der Teammitglieder"), this);
    Label18->setObjectName(QStringLiteral("Label18"));
    // Right-aligned with its right edge at x = 209; reaching further left than designed
    // keeps the text whole where the font runs a pixel or two wider.
    Label18->setGeometry(15, 40, 194, 17);
    Label18->setFont(PixelFont(QStringLiteral("Arial"), 15));
    Label18->setAlignment(Qt::AlignRight | Qt::AlignTop);

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(216, 40, 41, 25);
    Edit1->setFont(PixelFont(QStringLiteral("Arial"), 15));
    Edit1->setReadOnly(true);
    Edit1->setAccessibleName(QStringLiteral("Anzahl der Teammitglieder"));
    Label18->setBuddy(Edit1);

    Button1 = MakeViewButton(QStringLiteral("Button1"), QStringLiteral("Teammitglied 1"), {32, 76, 110, 33}, this);
    Button2 = MakeViewButton(QStringLiteral("Button2"), QStringLiteral("Teammitglied 2"), {32, 116, 110, 33}, this);
    Button3 = MakeViewButton(QStringLiteral("Button3"), QStringLiteral("Teammitglied 3"), {32, 156, 110, 33}, this);
    Button13 = MakeViewButton(QStringLiteral("Button13"), QStringLiteral("Gesamtteam"), {32, 228, 113, 33}, this);

    Image1 = new ImageBox(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(404, 8, 137, 129);
    Image1->setPicture(LogoPicture());
    Image1->setAccessibleName(QStringLiteral("Logo"));

    Label3 = new QLabel(QStringLiteral("Copyright © 2026 Velmarin Teamdiagnostik. Alle Rechte vorbehalten."), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setGeometry(32, 298, 380, 14);
    Label3->setFont(PixelFont(QStringLiteral("Arial"), 11));

    for (QWidget *w : std::initializer_list<QWidget *>{Label18, Image1, Label3})
        w->setFocusPolicy(Qt::NoFocus);
    setTabOrder(Edit1, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Button3);
    setTabOrder(Button3, Button13);
    setTabOrder(Button13, button_ende);

    connect(button_ende, &QPushButton::clicked, this, [this] { button_endeClick(button_ende); });
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(Button1); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(Button2); });
    connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(Button3); });
    connect(Button13, &QPushButton::clicked, this, [this] { Button13Click(Button13); });
}

FileDialog *Tquadrivofrm::CreateOpenDialog()
{
    // The program's own dialog: it starts in the working folder whatever the bytes of its
    // name, keeps no history and writes no settings, and opens exactly what is typed.
    auto *dialog = new FileDialog(this);
    dialog->setObjectName(QStringLiteral("OpenDialog1"));
    dialog->setFolder(WorkingFolder());
    dialog->setFileName(QStringLiteral("TEAM.dat"));
    return dialog;
}

void Tquadrivofrm::OpenWithoutDialog(const QByteArray &dataFile)
{
    m_givenFile = CleanPath(dataFile.startsWith('/') ? dataFile : WorkingFolder() + '/' + dataFile);
}

void Tquadrivofrm::FormCreate(QObject *)
{
    FirstActivation = true;
}

bool Tquadrivofrm::event(QEvent *e)
{
    if (e->type() == QEvent::Show && !m_activationDone) {
        m_activationDone = true;
        // After the show has finished, so the window is on the screen before the dialogs.
        QTimer::singleShot(0, this, [this] { FormActivate(this); });
    }
    return QWidget::event(e);
}

void Tquadrivofrm::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        if (auto *button = qobject_cast<QPushButton *>(focusWidget()); button && button->isVisible()) {
            button->click();
            return;
        }
    }
    QWidget::keyPressEvent(e);
}

bool Tquadrivofrm::AskSaveGraphics()
{
    CentredMessageBox question(QMessageBox::Question, QStringLiteral("Bestätigung"),
                         QStringLiteral("Sollen die Grafiken abgespeichert werden?"), QMessageBox::NoButton, this);
    question.setObjectName(QStringLiteral("SaveQuestion"));
    QPushButton *yes = question.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
    QPushButton *no = question.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
    question.setDefaultButton(yes);
    question.setEscapeButton(no);
    question.exec();
    return question.clickedButton() == yes;
}

void Tquadrivofrm::FormActivate(QObject *)
{
    if (FirstActivation) {
        // Both cleared before any dialog opens, so the work cannot start a second time.
        FirstActivation = false;
        SaveGraphics = false;

        bool chosen = true;
        QByteArray chosenFile = m_givenFile;
        if (chosenFile.isEmpty()) {
            // Made when it is needed and released after its one use: a file dialog is the
            // costliest part of the window to build and to keep.
            OpenDialog1 = CreateOpenDialog();
            chosen = OpenDialog1->exec() == QDialog::Accepted && !OpenDialog1->selectedFile().isEmpty();
            chosenFile = chosen ? OpenDialog1->selectedFile() : QByteArray();
            delete std::exchange(OpenDialog1, nullptr);
        }
        if (!chosen) {
            close();   // a cancelled dialog ends the program at once
            return;
        }
        DataFileName = chosenFile;
        SaveGraphics = AskSaveGraphics();
        ActivateAfterModal(this);
        if (ReadTeamFile(DataFileName) != 0) {
            ShowPlainMessage(this, QStringLiteral("Datei lässt sich nicht öffnen"));
            close();
            return;
        }
        const std::uint8_t count = TeamData.MemberCount();
        Edit1->setText(QString::number(count));
        if (count < 3)
            Button3->hide();
        if (count < 2)
            Button2->hide();
    }
    Button1->setFocus();
}

void Tquadrivofrm::ShowView(std::uint8_t member, QPushButton *used)
{
    quadrivo1frm = new Tquadrivo1frm(this);
    SelectedMember = member;
    quadrivo1frm->exec();
    quadrivo1frm->close();
    delete std::exchange(quadrivo1frm, nullptr);   // every view gets a window of its own
    ActivateAfterModal(this);   // also after an error box that the chart window showed

    QFont regular = used->font();
    regular.setBold(false);
    regular.setItalic(false);
    regular.setUnderline(false);
    regular.setStrikeOut(false);
    used->setFont(regular);
}

void Tquadrivofrm::button_endeClick(QObject *) { close(); }
void Tquadrivofrm::Button1Click(QObject *) { ShowView(1, Button1); }
void Tquadrivofrm::Button2Click(QObject *) { ShowView(2, Button2); }
void Tquadrivofrm::Button3Click(QObject *) { ShowView(3, Button3); }

void Tquadrivofrm::Button13Click(QObject *)
{
    ShowView(0, Button13);
    button_ende->setFocus();
}
