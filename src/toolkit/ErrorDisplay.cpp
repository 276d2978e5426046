#include "ErrorDisplay.h"

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
    window->adjustSize();
    QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

namespace {

void ShowBox(QWidget *parent, QMessageBox::Icon icon, const QString &text)
{
    QMessageBox box(icon, ApplicationTitle, text, QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("MessageBox"));
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    box.setTextFormat(Qt::PlainText);
    CentreOnScreen(&box);
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
