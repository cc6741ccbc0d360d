// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The page shows a window that is to be maximized first at its own size and
// gives it the page's size only then, where a desktop maximizes it before it
// first comes on screen. The game paints its first backdrop when the window
// first comes on screen, for the size it has then; so here that first
// exposure is held until the window has the page's size, for a moment at most.
#include <QCoreApplication>
#include <QExposeEvent>
#include <QRegion>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace {

class FirstExposure : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *window = event->type() == QEvent::Expose ? qobject_cast<QWindow *>(watched) : nullptr;
        if (!window || !(window->windowStates() & Qt::WindowMaximized) || !window->screen()
            || window->frameGeometry() == window->screen()->availableGeometry() || ++m_held > MaxHeld)
            return false;
        QTimer::singleShot(10, window, [window] {
            QExposeEvent again(QRect(QPoint(), window->size()));
            QCoreApplication::sendEvent(window, &again);
        });
        return true;
    }

private:
    static constexpr int MaxHeld = 50; // times 10 ms
    int m_held = 0;
};

void holdFirstExposure()
{
    qApp->installEventFilter(new FirstExposure(qApp));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(holdFirstExposure)
