// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "modalrun.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <QTimerEvent>
#include <QWidget>

#include <emscripten.h>

#include <vector>

namespace {

// In the browser the program waits for a box's answer by suspending itself,
// and only one wait can be suspended at a time: a second box opened meanwhile
// would freeze the page. While a box is open the child cannot reach the
// window, so only a timer can ask for another box (the clock running out
// during the "nuovo" question). So the ticks of every timer outside the box
// are held while it is open and delivered, all of them, once it has closed:
// the box they may open waits for the open one, and the clock catches up.
class HeldTicks : public QObject
{
public:
    explicit HeldTicks(const QDialog &box)
        : m_box(box)
    {
        qApp->installEventFilter(this);
    }

    ~HeldTicks() override
    {
        qApp->removeEventFilter(this);
        for (const QPointer<QTimer> &timer : m_held) {
            if (timer && timer->isActive())
                QCoreApplication::postEvent(timer, new QTimerEvent(timer->timerId()));
        }
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *timer = event->type() == QEvent::Timer ? qobject_cast<QTimer *>(watched) : nullptr;
        if (!timer || isInBox(timer))
            return false;
        m_held.emplace_back(timer);
        return true;
    }

private:
    bool isInBox(const QObject *object) const
    {
        for (; object; object = object->parent()) {
            if (object == &m_box)
                return true;
        }
        return false;
    }

    const QDialog &m_box;
    std::vector<QPointer<QTimer>> m_held;
};

} // namespace

// Qt's exec() suspends the program inside Qt's own dispatch of events, which
// hangs the page when the box is asked for from a timer (the clock's end, the
// delayed click of a button's access key). So the box is shown as exec()
// shows it and the program sleeps, a few milliseconds at a time, until it is
// answered, while Qt dispatches events as it always does.
int runModal(QDialog &dialog)
{
    // The page gives the keyboard back to no one when a box closes: the
    // control that had it gets it again.
    const QPointer<QWidget> focus = QApplication::focusWidget();
    {
        HeldTicks held(dialog);
        bool answered = false;
        QObject::connect(&dialog, &QDialog::finished, &dialog, [&answered] { answered = true; });
        dialog.setAttribute(Qt::WA_ShowModal);
        dialog.setResult(0);
        dialog.show();
        while (!answered)
            emscripten_sleep(10);
    }
    if (focus) {
        focus->activateWindow();
        focus->setFocus();
    }
    return dialog.result();
}
