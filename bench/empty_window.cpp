// The floor for start-up figures: an empty Qt widget program showing a window of the
// selection window's size.
#include <QApplication>
#include <QWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Leeres Fenster"));
    window.resize(606, 364);
    window.show();
    return app.exec();
}
