#include "TestSupport.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
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
    // Events are handled at least once before giving up: a thread held up past a short deadline
    // still gets what was already due.
    bool handled = false;
    while (!done()) {
        if (handled && deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
        handled = true;
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

InkExtent LineInk(const QFont& font, const QString& line)
{
    constexpr int kInkAlpha = 64;
    const QFontMetrics metrics(font);
    const int advance = metrics.horizontalAdvance(line);
    // Room on every side for glyphs that reach beyond their advance or the line's height.
    const int pad = 2 * metrics.height();
    QImage image(advance + 2 * pad, metrics.height() + 2 * pad, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(pad, pad + metrics.ascent(), line);
    }
    InkExtent ink{0, advance};
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (qAlpha(image.pixel(x, y)) >= kInkAlpha) {
                ink.left = std::min(ink.left, x - pad);
                ink.right = std::max(ink.right, x - pad + 1);
                break;
            }
        }
    }
    return ink;
}

} // namespace TestSupport
