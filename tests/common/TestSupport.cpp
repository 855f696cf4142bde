#include "TestSupport.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QRandomGenerator>
#include <gtest/gtest.h>
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

QString WriteRandomFile(const QString& name, qint64 size)
{
    // Whole words of randomness, cut to the size: every byte is random, the tail included.
    QByteArray bytes((size + 3) / 4 * 4, Qt::Uninitialized);
    QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
    bytes.truncate(size);
    const QString path = ScratchDir() + u'/' + name;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != size)
        ADD_FAILURE() << "cannot write " << path.toStdString();
    return path;
}

QString FileSha256(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLatin1(QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256).toHex());
}

} // namespace TestSupport
