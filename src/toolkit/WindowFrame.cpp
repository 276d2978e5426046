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

QPalette FormPalette()
{
    const QColor black(Qt::black), white(Qt::white);
    const QColor face(0xF0, 0xF0, 0xF0), mid(0xC8, 0xC8, 0xC8), dark(0xA0, 0xA0, 0xA0), greyText(0x6D, 0x6D, 0x6D);
    QPalette p(black, face, white, dark, mid, black, white, white, white);
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(group, QPalette::ButtonText, black);
        p.setColor(group, QPalette::Highlight, QColor(0x00, 0x78, 0xD7));
        p.setColor(group, QPalette::HighlightedText, white);
        p.setColor(group, QPalette::Shadow, QColor(0x69, 0x69, 0x69));
        p.setColor(group, QPalette::AlternateBase, QColor(0xF7, 0xF7, 0xF7));
        p.setColor(group, QPalette::PlaceholderText, greyText);
        p.setColor(group, QPalette::Link, QColor(0x00, 0x00, 0xEE));
        p.setColor(group, QPalette::LinkVisited, QColor(0x55, 0x1A, 0x8B));
    }
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::PlaceholderText})
        p.setColor(QPalette::Disabled, role, greyText);
    p.setColor(QPalette::Disabled, QPalette::Highlight, mid);
    p.setColor(QPalette::Disabled, QPalette::HighlightedText, black);
    return p;
}

void SetUpForm(QWidget *form, const QString &caption)
{
    form->setWindowTitle(caption);
    form->setFont(WindowFont());
    // The windows' colours are part of their design (a white form, black texts, light
    // buttons), not the desktop's: a dark desktop palette would put white text on the
    // white form. Dialogs and message boxes, which are windows of their own, keep the
    // desktop's palette.
    form->setPalette(FormPalette());
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
