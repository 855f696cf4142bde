#include "InputDiscard.h"

#include "engine/UserInputHold.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>

CInputDiscard::~CInputDiscard()
{
    // No events are dispatched from a destructor: the filter simply goes.
    if (m_bInstalled && QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

void CInputDiscard::Start()
{
    m_bActive = true;
    if (m_bInstalled || !QCoreApplication::instance())
        return;
    QCoreApplication::instance()->installEventFilter(this);
    m_bInstalled = true;
}

void CInputDiscard::Stop()
{
    if (!m_bActive)
        return;
    DropPending();
    m_bActive = false;
    if (m_bInstalled && QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
    m_bInstalled = false;
}

void CInputDiscard::DropPending()
{
    if (!m_bActive)
        return;
    // Events posted again by the waits' hold, then the window system's queue, which the waits
    // leave untouched for input; both pass this filter on their way and end here. The wake-up
    // makes the dispatcher look at the window system's queue even when nothing new came in
    // (X11 with the GLib loop keeps held-back input aside until it is woken).
    QCoreApplication::sendPostedEvents();
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
        dispatcher->wakeUp();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::sendPostedEvents();
}

bool CInputDiscard::eventFilter(QObject* watched, QEvent* event)
{
    return m_bActive && CUserInputHold::IsUserInput(event->type());
}

CInputDiscard::Pause::Pause(CInputDiscard& discard) : m_discard(discard), m_bWasActive(discard.m_bActive)
{
    m_discard.DropPending();
    m_discard.m_bActive = false;
}

CInputDiscard::Pause::~Pause()
{
    // Whatever the operator typed into the box has been delivered there; nothing is left over.
    m_discard.m_bActive = m_bWasActive;
}
