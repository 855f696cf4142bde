#include "UserInputHold.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>

CUserInputHold::CUserInputHold()
{
    // User input only reaches the application's own thread; a run in a thread of its own has
    // none to hold, and must not touch the application object from there.
    QCoreApplication* app = QCoreApplication::instance();
    if (app && app->thread() == QThread::currentThread()) {
        app->installEventFilter(this);
        m_bInstalled = true;
    }
}

CUserInputHold::~CUserInputHold()
{
    QCoreApplication* app = QCoreApplication::instance();
    if (m_bInstalled && app)
        app->removeEventFilter(this);
    for (HeldEvent& held : m_held) {
        if (held.receiver)
            QCoreApplication::postEvent(held.receiver, held.event.release());
    }
}

bool CUserInputHold::IsUserInput(int eventType)
{
    switch (eventType) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::TabletMove:
        return true;
    default:
        return false;
    }
}

bool CUserInputHold::eventFilter(QObject* watched, QEvent* event)
{
    if (!IsUserInput(event->type()))
        return false;
    m_held.push_back({watched, std::unique_ptr<QEvent>(event->clone())});
    return true;
}
