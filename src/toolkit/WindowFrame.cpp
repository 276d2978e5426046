#include "WindowFrame.h"

#include "Artwork.h"
#include "X11Screen.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <functional>
#include <utility>

namespace {

// Watches a window until the window manager has reported its frame, then runs an action
// with the frame's margins, once. Polls briefly as well, since a frame report comes
// without an event; without a window manager none comes, and the action never runs.
class FrameWatcher : public QObject
{
public:
    FrameWatcher(QWidget *window, std::function<void(const QMargins &)> action)
        : QObject(window), m_window(window), m_action(std::move(action))
    {
        window->installEventFilter(this);
        m_poll.setInterval(10);
        connect(&m_poll, &QTimer::timeout, this, [this] {
            if (++m_polls > MaxPolls)
                finish();
            else
                tryAct();
        });
        if (window->isVisible())
            m_poll.start();
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
                tryAct();
                break;
            default:
                break;
            }
        }
        return false;
    }

private:
    void tryAct()
    {
        QWindow *handle = m_window->windowHandle();
        if (!handle || !handle->isVisible())
            return;
        const QMargins margins = handle->frameMargins();
        if (margins.isNull())
            return;
        finish();
        m_action(margins);
    }

    void finish()
    {
        m_poll.stop();
        m_window->removeEventFilter(this);
        deleteLater();
    }

    static constexpr int MaxPolls = 100;   // about a second
    QWidget *m_window;
    std::function<void(const QMargins &)> m_action;
    QTimer m_poll;
    int m_polls = 0;
};

// Asks again for a while where the window manager has put the frame elsewhere after all
// (it may still be placing the window by its own rules when the first request comes).
class FrameKeeper : public QObject
{
public:
    static constexpr const char *Name = "FrameKeeper";

    FrameKeeper(QWidget *window, QPoint topLeft) : QObject(window), m_window(window), m_topLeft(topLeft)
    {
        setObjectName(QLatin1String(Name));
        m_timer.setInterval(20);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            if (++m_ticks > Ticks || !MoveFrameOnX11(m_window, m_topLeft))
                deleteLater();
        });
        m_timer.start();
    }

private:
    static constexpr int Ticks = 30;   // 0.6 s
    QWidget *m_window;
    QPoint m_topLeft;
    QTimer m_timer;
    int m_ticks = 0;
};

} // namespace

void CentreFrame(QWidget *window, QSize outer)
{
    QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (screen)
        MoveFrameTo(window, PlaceOnScreen(outer, screen->availableGeometry()));
}

void MoveFrameTo(QWidget *window, QPoint topLeft)
{
    // Window managers read a position that a program sets on its window in different ways
    // (the frame's corner or the client's, before and after mapping); once the window is
    // framed, the window manager is asked to put the frame's corner there, which the
    // request says in so many words.
    if (MoveFrameOnX11(window, topLeft)) {
        // One keeper a window: the newest request is the one kept.
        delete window->findChild<QObject *>(QLatin1String(FrameKeeper::Name), Qt::FindDirectChildrenOnly);
        new FrameKeeper(window, topLeft);
        return;
    }
    window->move(topLeft);   // a window's position is its frame's
}

void ActivateAfterModal(QWidget *window)
{
    QWidget *top = window->window();
    if (QWindow *handle = top->windowHandle(); handle && top->isVisible())
        handle->requestActivate();
}

QPoint PlaceOnScreen(QSize outer, const QRect &available)
{
    QRect frame(QPoint(0, 0), outer);
    frame.moveCenter(available.center());
    // Too wide or too high: the title bar and the top-left corner stay on the screen, where
    // the window can still be moved and its controls reached.
    if (outer.width() > available.width())
        frame.moveLeft(available.left());
    if (outer.height() > available.height())
        frame.moveTop(available.top());
    return frame.topLeft();
}

QMargins ExpectedFrameMargins(QWidget *window)
{
    const auto marginsOf = [](QWidget *w) {
        QWindow *handle = w ? w->windowHandle() : nullptr;
        return handle && handle->isVisible() ? handle->frameMargins() : QMargins();
    };
    if (const QMargins own = marginsOf(window); !own.isNull())
        return own;
    // Not on the screen yet: a window manager that offers it says what it will put around
    // this very window (a fixed-size box may get a narrower frame than a sizeable window).
    if (const auto asked = AskFrameExtents(window))
        return *asked;
    // Not framed yet: the window manager frames the program's other windows alike.
    if (window->parentWidget())
        if (const QMargins owner = marginsOf(window->parentWidget()->window()); !owner.isNull())
            return owner;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (const QMargins other = marginsOf(w); !other.isNull())
            return other;
    return {};
}

void WhenFramed(QWidget *window, std::function<void(const QMargins &)> action)
{
    new FrameWatcher(window, std::move(action));
}

void PlaceWindowCentred(QWidget *window, QSize outer)
{
    window->resize(outer);
    CentreFrame(window, outer);
    WhenFramed(window, [window, outer](const QMargins &margins) {
        window->resize(outer.width() - margins.left() - margins.right(), outer.height() - margins.top() - margins.bottom());
        CentreFrame(window, outer);
    });
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
