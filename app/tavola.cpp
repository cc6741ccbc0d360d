// SPDX-FileCopyrightText: 2026 Gomirlo developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tavola.h"

#include "backdrop.h"
#include "cueplayer.h"
#include "dialogs.h"
#include "programexit.h"
#include "runtimeerror.h"
#include "ui_tavola.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QTimer>
#include <QWindow>

#include <optional>

namespace {

// The code of the character a key types into the answer box, as the key
// filter sees it; empty for keys that type nothing (arrows, Delete, Tab), which
// the box handles as it always does.
std::optional<std::int16_t> typedCharacter(const QKeyEvent &key)
{
    switch (key.key()) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
        return std::nullopt;
    default:
        break;
    }
    // Ctrl with a letter types a control character: Ctrl+V is 22.
    if ((key.modifiers() & Qt::ControlModifier) && key.key() >= Qt::Key_A && key.key() <= Qt::Key_Z)
        return std::int16_t(key.key() - Qt::Key_A + 1);
    const QString text = key.text();
    if (text.isEmpty())
        return std::nullopt;
    // More than one character at once is never a lone digit.
    return text.size() == 1 ? std::int16_t(text.front().unicode()) : std::int16_t(-1);
}

} // namespace

Tavola::Tavola(QWidget *parent)
    : QMainWindow(parent)
{
    // The layout was measured with MS Sans Serif, a bitmap face that Qt passes
    // over: its outline successor stands in, or a face of the same metrics.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Liberation Sans")});
}

Tavola::~Tavola() = default;

void Tavola::showGame()
{
    runHandler([this] { loadAndShow(); });
}

void Tavola::loadAndShow()
{
    if (!m_ui)
        load();
    m_activationPending = true;
    showMaximized();
    // Ask for the focus too: without a window manager nobody else gives it.
    activateWindow();
    // Some platforms keep a hidden window counted as exposed and send no new
    // exposure when it is shown again.
    activateIfOnScreen();
}

void Tavola::activateIfOnScreen()
{
    // Activated when first on screen after a show, at the desktop's size, so
    // that the first backdrop fills the maximized window.
    if (!m_activationPending || !windowHandle()->isExposed())
        return;
    m_activationPending = false;
    Form_Activate();
}

void Tavola::load()
{
    m_ui = std::make_unique<Ui::Tavola>();
    m_ui->setupUi(this);
    resize(ClientSize + QSize(0, menuBar()->sizeHint().height()));
    if (!windowHandle()) {
        winId();
        windowHandle()->installEventFilter(this);
    }

    // A timer is no widget, so the layout file cannot hold it; it belongs to
    // the controls all the same and goes with them.
    m_timer = new QTimer(m_ui->centralwidget);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(1000);
    m_timer->start();

    connect(m_timer, &QTimer::timeout, this, [this] { runHandler([this] { Timer1_Timer(); }); });
    connect(m_ui->cmdNext, &QAbstractButton::clicked, this, [this] { runHandler([this] { cmdNext_Click(); }); });
    connect(m_ui->cmdExit, &QAbstractButton::clicked, this, [this] { runHandler([this] { cmdExit_Click(); }); });
    connect(m_ui->Next, &QAction::triggered, this, [this] { runHandler([this] { Next_Click(); }); });
    m_ui->txtAnswer->installEventFilter(this);
    // Only typed characters may reach the box, and an input method would
    // bypass the key filter.
    m_ui->txtAnswer->setAttribute(Qt::WA_InputMethodEnabled, false);

    Form_Load();
}

void Tavola::unload()
{
    hide();
    m_activationPending = false;
    m_timer->stop();
    m_timer = nullptr;
    // The menu entry that asked for the new race is still delivering its
    // click, so the old controls are detached now and deleted once it has
    // returned.
    QWidget *menus = menuWidget();
    setMenuWidget(nullptr);
    QWidget *controls = takeCentralWidget();
    const QList<QObject *> discarded{menus, controls, m_ui->v, m_ui->a, m_ui->Next, m_ui->agli};
    for (QObject *object : discarded) {
        object->disconnect(this);
        object->setParent(nullptr);
        object->deleteLater();
    }
    controls->hide();
    m_ui.reset();
}

Backdrop *Tavola::backdrop() const
{
    return m_ui->centralwidget;
}

void Tavola::stopClock()
{
    if (m_timer)
        m_timer->stop();
}

template<typename Handler>
void Tavola::runHandler(Handler handler)
{
    try {
        handler();
    } catch (const RuntimeError &error) {
        reportAndQuit(error);
    }
}

void Tavola::reportAndQuit(const RuntimeError &error)
{
    // No tick may start an end of game behind the error message.
    stopClock();
    Dialogs::inform(error.message(), AppTitle);
    quitImmediately(1);
}

bool Tavola::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == windowHandle() && event->type() == QEvent::Expose && m_activationPending) {
        runHandler([this] { activateIfOnScreen(); });
        return false;
    }
    if (m_ui && watched == m_ui->txtAnswer && event->type() == QEvent::KeyPress) {
        const auto code = typedCharacter(*static_cast<QKeyEvent *>(event));
        if (!code)
            return false;
        std::int16_t KeyAscii = *code;
        runHandler([&] { txtAnswer_KeyPress(KeyAscii); });
        // Ctrl+H types the Backspace character, which a text box takes as
        // Backspace; Qt's line edit would ignore the key itself.
        if (KeyAscii == 8 && static_cast<QKeyEvent *>(event)->key() != Qt::Key_Backspace) {
            m_ui->txtAnswer->backspace();
            return true;
        }
        // A cancelled key never reaches the box.
        return KeyAscii == 0;
    }
    return QMainWindow::eventFilter(watched, event);
}

void Tavola::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) {
        runHandler([this] { Form_Resize(); });
    }
}

void Tavola::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (m_ui)
        runHandler([this] { Form_Resize(); });
}

void Tavola::closeEvent(QCloseEvent *event)
{
    // Closing the window by its frame leaves the game without a record check:
    // nothing is saved.
    event->accept();
    quitImmediately(0);
}

void Tavola::Form_Resize()
{
    if (windowState() & Qt::WindowMinimized)
        setWindowTitle(QStringLiteral("Trova il successivo"));
}
