#include "Quadrivo1.h"

#include "Artwork.h"
#include "ChartOutput.h"
#include "ErrorDisplay.h"
#include "FileDialog.h"
#include "ImageBox.h"
#include "JpegImage.h"
#include "ProfileChart.h"
#include "Quadrivo1Profile.h"
#include "SnapshotName.h"
#include "WindowCapture.h"
#include "WindowFrame.h"
#include "WindowTitle.h"
#include "teamGLOBAL.h"

#include <QAction>
#include <QClipboard>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QGuiApplication>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QThread>

#include <array>
#include <exception>

Tquadrivo1frm *quadrivo1frm = nullptr;

namespace {

const QString DesignCaption = QStringLiteral("Velmarin: Auswertung Kestrani   Teammitglied");
const QString TeamCaption = QStringLiteral("Velmarin: Auswertung Kestrani   Team");

struct FixedPoint {
    int series;
    double x, y;
};

// The cross (Series1, Series2, in grey) and its ticks at every fourth unit.
constexpr std::array<FixedPoint, 36> CrossPoints{{
    {1, 0, -16}, {1, 0, 16}, {2, -16, 0}, {2, 16, 0},
    {3, -1, 4}, {3, 1, 4}, {4, -1, 8}, {4, 1, 8}, {5, -1, 12}, {5, 1, 12}, {6, -1, 16}, {6, 1, 16},
    {8, -1, -4}, {8, 1, -4}, {9, -1, -8}, {9, 1, -8}, {10, -1, -12}, {10, 1, -12}, {11, -1, -16}, {11, 1, -16},
    {13, 4, 1}, {13, 4, -1}, {14, 8, 1}, {14, 8, -1}, {15, 12, 1}, {15, 12, -1}, {16, 16, 1}, {16, 16, -1},
    {18, -4, 1}, {18, -4, -1}, {19, -8, 1}, {19, -8, -1}, {20, -12, 1}, {20, -12, -1}, {21, -16, 1}, {21, -16, -1},
}};

bool IsLineSeries(int n) { return n == 1 || n == 2 || (n >= 23 && n <= 26); }

} // namespace

QString ProfileDescription()
{
    return QStringLiteral("Dauer %1, Nähe %2, Wechsel %3, Distanz %4")
        .arg(ProfileScores.ScoreDauer)
        .arg(ProfileScores.ScoreNaehe)
        .arg(ProfileScores.ScoreWechsel)
        .arg(ProfileScores.ScoreDistanz);
}

Tquadrivo1frm::Tquadrivo1frm(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("quadrivo1frm"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    SetUpForm(this, DesignCaption);
    button_ende = MakeCloseButton(this, {640, 304, 113, 33});
    button_ende->setDefault(true);   // Enter presses it, Space too while it has the focus

    Chart1 = new ProfileChart(this);
    Chart1->setObjectName(QStringLiteral("Chart1"));
    Chart1->setGeometry(112, 11, 465, 534);
    Chart1->Title() = QStringList{QStringLiteral("Velmarin-Auswertung")};
    Chart1->setFoot(QStringLiteral("Copyright © 2026 Velmarin Teamdiagnostik"));
    Chart1->setFocusPolicy(Qt::NoFocus);
    Chart1->setAccessibleName(QStringLiteral("Profil"));

    // The chart beyond the screen: to the clipboard, to a file, to the printer. Nothing of
    // this shows in the window until its context menu is opened.
    auto *copy = new QAction(QStringLiteral("Bild &kopieren"), Chart1);
    copy->setObjectName(QStringLiteral("CopyChart"));
    copy->setShortcut(QKeySequence::Copy);
    auto *save = new QAction(QStringLiteral("&Speichern unter …"), Chart1);
    save->setObjectName(QStringLiteral("SaveChartAs"));
    auto *print = new QAction(QStringLiteral("&Drucken …"), Chart1);
    print->setObjectName(QStringLiteral("PrintChart"));
    print->setShortcut(QKeySequence::Print);
    Chart1->addActions({copy, save, print});
    Chart1->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(copy, &QAction::triggered, this, &Tquadrivo1frm::CopyChart);
    connect(save, &QAction::triggered, this, &Tquadrivo1frm::SaveChartAs);
    connect(print, &QAction::triggered, this, &Tquadrivo1frm::PrintChart);

    ChartSeries **all[] = {&Series1, &Series2, &Series3, &Series4, &Series5, &Series6, &Series7, &Series8,
                           &Series9, &Series10, &Series11, &Series12, &Series13, &Series14, &Series15,
                           &Series16, &Series17, &Series18, &Series19, &Series20, &Series21, &Series22,
                           &Series23, &Series24, &Series25, &Series26, &Series27, &Series28, &Series29,
                           &Series30};
    for (int n = 1; n <= 30; ++n) {
        ChartSeries *s = Chart1->AddSeries(IsLineSeries(n) ? ChartSeries::Kind::Line : ChartSeries::Kind::FastLine);
        if (!IsLineSeries(n))
            s->setPenColor(ChartColors::Silver);
        if (n >= 27) {
            s->setMarksVisible(true);
            s->setMarkFont(PixelFont(QStringLiteral("Arial"), 12));
            s->setMarkBackground(ChartColors::Cream);
            s->setArrowLength(8);
        }
        *all[n - 1] = s;
    }

    Image1 = new ImageBox(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(672, 512, 81, 41);
    Image1->hide();

    Image2 = new ImageBox(this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setGeometry(656, 24, 129, 129);
    Image2->setPicture(LogoPicture());
    Image2->setAccessibleName(QStringLiteral("Logo"));

    connect(button_ende, &QPushButton::clicked, this, [this] {
        setResult(1);   // the button's modal result, set before its handler runs
        button_endeClick(button_ende);
    });

    PlaceWindowCentred(this, OuterSize);
    FormCreate(this);
}

ChartSeries *Tquadrivo1frm::series(int n) const
{
    if (n < 1 || n > 30)
        return nullptr;
    return Chart1->series()[std::size_t(n - 1)].get();
}

void Tquadrivo1frm::FormCreate(QObject *)
{
    FirstActivation = true;
}

bool Tquadrivo1frm::event(QEvent *e)
{
    if (e->type() == QEvent::Show && !m_activationDone) {
        m_activationDone = true;
        FormActivate(this);
    }
    return QDialog::event(e);
}

void Tquadrivo1frm::FormActivate(QObject *)
{
    const QString name = TeamData.MemberName(SelectedMember);
    if (SelectedMember > 0)   // the title shows control characters of a name as stand-ins
        setWindowTitle(windowTitle() + QStringLiteral(": ") + TitleSafe(name));
    else
        setWindowTitle(TeamCaption);

    if (!FirstActivation)
        return;
    FirstActivation = false;
    ComputeProfile();
    Chart1->setAxisVisible(false);
    for (const FixedPoint &p : CrossPoints)
        series(p.series)->AddXY(p.x, p.y, QString(), ChartColors::Grey);
    for (int n = 23; n <= 26; ++n) {
        series(n)->setPenWidth(2);
        series(n)->setPenColor(ChartColors::Navy);
    }
    const double dauer = ProfileScores.ScoreDauer;
    const double naehe = -double(ProfileScores.ScoreNaehe);
    const double wechsel = -double(ProfileScores.ScoreWechsel);
    const double distanz = ProfileScores.ScoreDistanz;
    Series23->AddXY(0, dauer, QString(), ChartColors::Navy);
    Series23->AddXY(distanz, 0, QString(), ChartColors::Navy);
    Series24->AddXY(distanz, 0, QString(), ChartColors::Navy);
    Series24->AddXY(0, wechsel, QString(), ChartColors::Navy);
    Series25->AddXY(0, wechsel, QString(), ChartColors::Navy);
    Series25->AddXY(naehe, 0, QString(), ChartColors::Navy);
    Series26->AddXY(naehe, 0, QString(), ChartColors::Navy);
    Series26->AddXY(0, dauer, QString(), ChartColors::Navy);
    Series27->AddXY(16, 0, QStringLiteral("Distanz"));
    Series28->AddXY(-16, 0, QStringLiteral("Nähe"));
    Series29->AddXY(3, 15, QStringLiteral("Dauer"));
    Series30->AddXY(3, -17, QStringLiteral("Wechsel"));
    Chart1->setFrameColor(ChartColors::White);
    if (SelectedMember > 0)
        Chart1->Title().append((QStringLiteral("Name: ") + name).left(46));

    const QString description = ProfileDescription();
    Chart1->setAccessibleDescription(description);
    Chart1->setToolTip(description);
    Chart1->update();
}

void Tquadrivo1frm::CopyChart()
{
    QGuiApplication::clipboard()->setImage(ChartImage(*Chart1));
}

void Tquadrivo1frm::SaveChartAs()
{
    const QByteArray suggested = ViewFileName(DataFileName.isEmpty() ? QByteArray("TEAM.dat") : DataFileName,
                                              SelectedMember, ".png");
    const qsizetype slash = suggested.lastIndexOf('/');
    FileDialog dialog(this, FileDialog::Purpose::Save);
    dialog.setObjectName(QStringLiteral("SaveDialog"));
    dialog.setFileTypes({{QStringLiteral("PNG-Bild"), QStringLiteral(".png")},
                         {QStringLiteral("PDF-Dokument"), QStringLiteral(".pdf")}});
    dialog.setFolder(slash < 0 ? WorkingFolder() : suggested.left(slash));
    dialog.setFileName(QFile::decodeName(suggested.mid(slash + 1)));
    if (dialog.exec() != QDialog::Accepted)
        return;
    const bool pdf = dialog.selectedType() == 1;
    try {
        const QByteArray bytes = pdf ? ChartPdf(*Chart1, windowTitle()) : ChartPng(*Chart1);
        WriteFileAtomically(dialog.selectedFile(), bytes);
    } catch (const std::exception &e) {
        ShowDefaultError(this, QString::fromUtf8(e.what()));
    }
}

void Tquadrivo1frm::PrintChart()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(windowTitle());
    QPrintDialog dialog(&printer, this);
    dialog.setObjectName(QStringLiteral("PrintDialog"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!PaintChartOnPage(*Chart1, printer))
        ShowDefaultError(this, QStringLiteral("Das Profil kann nicht gedruckt werden"));
}

void Tquadrivo1frm::button_endeClick(QObject *)
{
    if (SaveGraphics) {
        button_ende->hide();
        FlushToScreen(this);   // the button's area repainted and on the screen
        // A compositing window manager needs a moment more: 50 ms, without handling any
        // event. The capture's buffers are made ready within that time, not after it.
        QElapsedTimer wait;
        wait.start();
        PrepareCapture(this);
        if (const qint64 left = 50 - wait.elapsed(); left > 0)
            QThread::msleep(std::uint64_t(left));
        try {
            JpegImage jpeg;
            CaptureForegroundWindow(Image1->bitmap(), 0, this);
            jpeg.Assign(Image1->picture());
            jpeg.SaveToFile(SnapshotFileName(DataFileName, SelectedMember));
        } catch (const std::exception &e) {
            ShowDefaultError(this, QString::fromUtf8(e.what()));
        }
    }
    close();
}
