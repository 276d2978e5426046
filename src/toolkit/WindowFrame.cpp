#include "WindowFrame.h"

#include "Artwork.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {

// Watches a window until the window manager has reported its frame, then fits the frame
// to the outer size. Polls briefly as well, since a frame report comes without an event.
class FrameFitter : public QObject
{
public:
    FrameFitter(QWidget *window, QSize outer) : QObject(window), m_window(window), m_outer(outer)
    {
        window->installEventFilter(this);
        m_poll.setInterval(10);
        connect(&m_poll, &QTimer::timeout, this, [this] {
            if (++m_polls > MaxPolls)
                finish();
            else
                tryFit();
        });
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window) {
            switch (event->type()) {
            case QEvent::Show:
                m_polls = 0;
                m_poll.start();
                break;
            case QEvent::Move:
            case QEvent::Resize:
            case QEvent::WindowActivate:
            case QEvent::Expose:
                tryFit();
                break;
            default:
                break;
            }
        }
        return false;
    }

private:
    void tryFit()
    {
        QWindow *handle = m_window->windowHandle();
        if (!handle || !handle->isVisible())
            return;
        const QMargins margins = handle->frameMargins();
        if (margins.isNull())
            return;
        const QSize client(m_outer.width() - margins.left() - margins.right(),
                           m_outer.height() - margins.top() - margins.bottom());
        m_window->resize(client);
        centre(m_window, m_outer);
        finish();
    }

    void finish()
    {
        m_poll.stop();
        m_window->removeEventFilter(this);
        deleteLater();
    }

public:
    static void centre(QWidget *window, QSize outer)
    {
        QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
        if (!screen)
            return;
        QRect frame(QPoint(0, 0), outer);
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());   // a top-level's position is its frame's
    }

private:
    static constexpr int MaxPolls = 100;   // about a second; no window manager reports none
    QWidget *m_window;
    QSize m_outer;
    QTimer m_poll;
    int m_polls = 0;
};

} // namespace

void PlaceWindowCentred(QWidget *window, QSize outer)
{
    window->resize(outer);
    FrameFitter::centre(window, outer);
    new FrameFitter(window, outer);
}

QFont PixelFont(const QString &family, int pixelSize, bool bold)
{
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QFont WindowFont()
{
    // The forms are laid out for a small sans-serif window font; where that face is
    // missing, the metric-compatible Arial substitute is the closest fit.
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    return PixelFont(QStringLiteral("MS Sans Serif"), 11);
}

void SetUpForm(QWidget *form, const QString &caption)
{
    form->setWindowTitle(caption);
    form->setFont(WindowFont());
    QPalette white = form->palette();
    white.setColor(QPalette::Window, Qt::white);
    form->setPalette(white);
    form->setAutoFillBackground(true);
}

QPushButton *MakeCloseButton(QWidget *form, const QRect &geometry)
{
    auto *button = new QPushButton(QStringLiteral("S&chließen"), form);
    button->setObjectName(QStringLiteral("button_ende"));
    button->setGeometry(geometry);
    button->setIcon(ExitButtonIcon());
    button->setIconSize(QSize(18, 18));
    button->setAccessibleName(QStringLiteral("Schließen"));
    return button;
}
