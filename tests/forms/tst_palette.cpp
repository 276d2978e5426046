// The windows keep their designed colours under a dark desktop palette: qt6ct's "darker"
// scheme, set up in a private configuration folder before the application starts. Every
// text of the selection window and the chart window's button must stand out from what
// is drawn behind it by at least 4.5:1.
#include "ErrorDisplay.h"
#include "ProfileChart.h"
#include "Quadrivo.h"
#include "Quadrivo1.h"
#include "teamGLOBAL.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace {

double Luminance(QRgb c)
{
    const auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
}

double Contrast(QRgb a, QRgb b)
{
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The contrast of a widget's text as drawn: the colour most pixels have is the ground;
// the text's colour is the one that stands out from it the most.
double TextContrast(QWidget *w, int inset)
{
    const QImage picture = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect inner = picture.rect().adjusted(inset, inset, -inset, -inset);
    std::map<QRgb, int> counts;
    for (int y = inner.top(); y <= inner.bottom(); ++y)
        for (int x = inner.left(); x <= inner.right(); ++x)
            ++counts[picture.pixel(x, y)];
    const QRgb ground = std::max_element(counts.begin(), counts.end(), [](auto &a, auto &b) {
                            return a.second < b.second;
                        })->first;
    double best = 1.0;
    for (const auto &[colour, n] : counts)
        best = std::max(best, Contrast(colour, ground));
    return best;
}

TEST(DarkPalette, EveryTextKeepsItsContrast)
{
    // The scheme is on: the desktop's own window colour is dark.
    ASSERT_LT(Luminance(QApplication::palette().color(QPalette::Window).rgb()), 0.1);

    Tquadrivofrm form;
    form.Edit1->setText(QStringLiteral("3"));
    struct Case { QWidget *widget; int inset; };
    const Case cases[] = {
        {form.Label18, 0}, {form.Edit1, 3}, {form.Button1, 4}, {form.Button2, 4}, {form.Button3, 4},
        {form.Button13, 4}, {form.button_ende, 4}, {form.Label3, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.widget->objectName().toStdString());
        EXPECT_GE(TextContrast(c.widget, c.inset), 4.5);
    }
    EXPECT_EQ(form.palette().color(QPalette::Window), QColor(Qt::white));

    Tquadrivo1frm chart;
    SCOPED_TRACE("chart window");
    EXPECT_GE(TextContrast(chart.button_ende, 4), 4.5);
    EXPECT_EQ(chart.palette().color(QPalette::Window), QColor(Qt::white));

    // Boxes and dialogs are the desktop's: they follow its palette.
    QMessageBox box(QMessageBox::Question, QStringLiteral("Bestätigung"), QStringLiteral("?"), QMessageBox::Ok, &form);
    EXPECT_EQ(box.palette().color(QPalette::Window), QApplication::palette().color(QPalette::Window));
}

} // namespace

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QTemporaryDir config;
    QDir().mkpath(config.filePath(QStringLiteral("qt6ct")));
    QFile conf(config.filePath(QStringLiteral("qt6ct/qt6ct.conf")));
    if (!conf.open(QIODevice::WriteOnly))
        return 2;
    conf.write("[Appearance]\ncolor_scheme_path=/usr/share/qt6ct/colors/darker.conf\ncustom_palette=true\n"
               "style=Fusion\n");
    conf.close();
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    qputenv("QT_QPA_PLATFORMTHEME", "qt6ct");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    return RUN_ALL_TESTS();
}
