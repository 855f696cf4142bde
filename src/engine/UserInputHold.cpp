#include "UserInputHold.h"

#include <QCoreApplication>
#include <QEvent>

CUserInputHold::CUserInputHold()
{
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installEventFilter(this);
}

CUserInputHold::~CUserInputHold()
{
    if (QCoreApplication* app = QCoreApplication::instance())
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
