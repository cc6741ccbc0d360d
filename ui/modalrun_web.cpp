// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "modalrun.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <QTimerEvent>
#include <QWidget>

#include <vector>

namespace {

// In the browser a box waits for its answer by suspending the program, and
// only one can be suspended at a time: a second box opened meanwhile would
// freeze the page. While a box is open the child cannot reach the window, so
// only a timer can ask for another box (the clock running out during the
// "nuovo" question). So the ticks of every timer outside the box are held
// while it is open and delivered, all of them, once it has closed: the box
// they may open waits for the open one, and the clock catches up.
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

int runModal(QDialog &dialog)
{
    // The page gives the keyboard back to no one when a box closes: the
    // control that had it gets it again.
    const QPointer<QWidget> focus = QApplication::focusWidget();
    int result = 0;
    {
        HeldTicks held(dialog);
        result = dialog.exec();
    }
    if (focus) {
        focus->activateWindow();
        focus->setFocus();
    }
    return result;
}
