// The application's title, its plain message box and its default error display.
#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QString>

class QWidget;

// Shown as the caption of the program's own message boxes. Not Qt's application display
// name, which would append itself to every window caption.
inline const QString ApplicationTitle = QStringLiteral("Velmarin-Auswertung");

// The default error display: the message with a full stop appended unless it already
// ends in a character whose code is at most that of the full stop.
QString DefaultErrorText(const QString &message);
void ShowDefaultError(QWidget *parent, const QString &message);

// Plain box: the application's title as caption, no icon, one "OK".
void ShowPlainMessage(QWidget *parent, const QString &text);

// Centres a top-level widget on its screen at its present size, frame included.
void CentreOnScreen(QWidget *window);

// A message box centred on its screen with its frame. It centres itself when it is shown,
// once it has laid itself out and before it is on the screen.
class CentredMessageBox : public QMessageBox
{
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent *event) override;
};

// An application object that lets no exception cross the event loop: a failure that an
// event handler did not catch goes to the default error display, and the program goes on.
class Application : public QApplication
{
public:
    Application(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};
