// The profile chart window: one view's four scores drawn as a quadrilateral on a cross,
// and its snapshot as a JPEG file when it is closed with its button.
#pragma once

#include <QDialog>

class ChartSeries;
class ImageBox;
class ProfileChart;
class QPushButton;

class Tquadrivo1frm : public QDialog
{
    Q_OBJECT
public:
    explicit Tquadrivo1frm(QWidget *owner = nullptr);

    // Components, in the order of the window's design.
    QPushButton *button_ende = nullptr;
    ProfileChart *Chart1 = nullptr;
    ChartSeries *Series1 = nullptr, *Series2 = nullptr, *Series3 = nullptr, *Series4 = nullptr,
                *Series5 = nullptr, *Series6 = nullptr, *Series7 = nullptr, *Series8 = nullptr,
                *Series9 = nullptr, *Series10 = nullptr, *Series11 = nullptr, *Series12 = nullptr,
                *Series13 = nullptr, *Series14 = nullptr, *Series15 = nullptr, *Series16 = nullptr,
                *Series17 = nullptr, *Series18 = nullptr, *Series19 = nullptr, *Series20 = nullptr,
                *Series21 = nullptr, *Series22 = nullptr, *Series23 = nullptr, *Series24 = nullptr,
                *Series25 = nullptr, *Series26 = nullptr, *Series27 = nullptr, *Series28 = nullptr,
                *Series29 = nullptr, *Series30 = nullptr;
    ImageBox *Image1 = nullptr;
    ImageBox *Image2 = nullptr;

    void FormActivate(QObject *Sender);
    void FormCreate(QObject *Sender);
    void button_endeClick(QObject *Sender);

    // The chart's context menu: the chart panel as drawn, at twice its size, to the
    // clipboard (Ctrl+C); to a PNG or vector PDF file; to the printer (Ctrl+P).
    void CopyChart();
    void SaveChartAs();
    void PrintChart();

    // Series n, 1 to 30.
    ChartSeries *series(int n) const;

    static constexpr QSize OuterSize{808, 580};

protected:
    // The window's activation is its first showing, before it is first painted; Qt's
    // later activations (the focus back from a message box or another application)
    // leave caption and chart alone.
    bool event(QEvent *e) override;

private:
    bool m_activationDone = false;
};

// The chart window of the view on screen, from its creation until it is destroyed.
extern Tquadrivo1frm *quadrivo1frm;

// The text the chart offers in place of its picture: the four scores as numbers.
QString ProfileDescription();
