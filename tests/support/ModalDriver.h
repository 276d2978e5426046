// Answers the modal dialogs, boxes and windows a test's code opens, one scripted step
// per newly opened modal widget, from inside their own event loops.
#pragma once

#include "FileDialog.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <deque>
#include <functional>

class ModalDriver : public QObject
{
public:
    using Step = std::function<void(QWidget *)>;

    ModalDriver()
    {
        m_timer.setInterval(5);
        connect(&m_timer, &QTimer::timeout, this, [this] { poll(); });
        m_timer.start();
    }

    void then(Step step) { m_steps.push_back(std::move(step)); }
    int unexpected() const { return m_unexpected; }
    bool done() const { return m_steps.empty(); }

    // Common steps.
    static Step chooseFile(const QString &path)
    {
        return [path](QWidget *w) {
            auto *dialog = qobject_cast<FileDialog *>(w);
            if (!dialog)
                return;
            dialog->fileNameEdit()->setText(path);
            QMetaObject::invokeMethod(dialog, "accept");
        };
    }
    static Step reject()
    {
        return [](QWidget *w) {
            if (auto *d = qobject_cast<QDialog *>(w))
                d->reject();
        };
    }
    static Step clickButton(const QString &text)
    {
        return [text](QWidget *w) {
            for (auto *b : w->findChildren<QPushButton *>())
                if (b->text() == text && b->isVisible()) {
                    b->click();
                    return;
                }
        };
    }

private:
    void poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        for (const auto &seen : m_seen)
            if (seen == modal)
                return;   // back to a modal widget after the one above it closed
        m_seen.push_back(modal);
        if (m_steps.empty()) {
            ++m_unexpected;
            return;
        }
        Step step = std::move(m_steps.front());
        m_steps.pop_front();
        QPointer<QWidget> target(modal);
        QTimer::singleShot(0, modal, [step, target] {
            if (target)
                step(target);
        });
    }

    QTimer m_timer;
    std::deque<Step> m_steps;
    QList<QPointer<QWidget>> m_seen;
    int m_unexpected = 0;
};
