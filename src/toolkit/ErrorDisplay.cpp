#include "ErrorDisplay.h"

#include "WindowFrame.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QWidget>

#include <exception>

QString DefaultErrorText(const QString &message)
{
    if (!message.isEmpty() && message.back().unicode() <= u'.')
        return message;
    return message + QLatin1Char('.');
}

void CentreOnScreen(QWidget *window)
{
    // Centred with its frame, which the window manager adds only once the box is shown.
    CentreFrame(window, window->size().grownBy(ExpectedFrameMargins(window)));
}

void CentredMessageBox::showEvent(QShowEvent *event)
{
    QMessageBox::showEvent(event);   // sets the box's final size
    // Placed before the box is on the screen, with the frame it will get. Window managers
    // differ in how they read a first position; where this one put the box elsewhere, it
    // is moved once its frame is known.
    CentreOnScreen(this);
    const QPoint placed = pos();
    WhenFramed(this, [this, placed](const QMargins &) {
        MoveFrameTo(this, placed);
    });
}

namespace {

void ShowBox(QWidget *parent, QMessageBox::Icon icon, const QString &text)
{
    CentredMessageBox box(icon, ApplicationTitle, text, QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("MessageBox"));
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace

void ShowDefaultError(QWidget *parent, const QString &message)
{
    ShowBox(parent, QMessageBox::Critical, DefaultErrorText(message));
}

void ShowPlainMessage(QWidget *parent, const QString &text)
{
    ShowBox(parent, QMessageBox::NoIcon, text);
}

Application::Application(int &argc, char **argv) : QApplication(argc, argv) {}

bool Application::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        ShowDefaultError(QApplication::activeWindow(), QString::fromUtf8(e.what()));
    } catch (...) {
        ShowDefaultError(QApplication::activeWindow(), QStringLiteral("Unbekannter Fehler"));
    }
    return false;
}
