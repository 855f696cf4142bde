#include "TestSupport.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <memory>

namespace TestSupport {

bool WaitUntil(const std::function<bool()>& done, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

void OnNextModal(const std::function<void(QWidget*)>& handle, int timeoutMs)
{
    // Polls from a timer, so it works while a modal loop runs on this thread.
    auto* timer = new QTimer(qApp);
    auto deadline = std::make_shared<QDeadlineTimer>(timeoutMs);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, handle, deadline] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            handle(modal);
        } else if (deadline->hasExpired()) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
}

} // namespace TestSupport
