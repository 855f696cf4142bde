#include "ProgressLine.h"

#include "cli/text/CliText.h"

#include <QCoreApplication>

namespace {

// The width a line is laid out for when the terminal does not say.
constexpr int DEFAULT_COLUMNS = 80;
// A bar narrower than this says nothing; wider than this only takes room from the text.
constexpr int MIN_BAR = 10;
constexpr int MAX_BAR = 40;
// Before this much of the transfer has passed, a rate would be noise.
constexpr qint64 RATE_SETTLE_MS = 200;

// The words of the phases take one column's width, whatever their language.
constexpr int PHASE_COLUMNS = 8;

QString PhaseWord(RadioPhase phase)
{
    QString word;
    switch (phase) {
    case RadioPhase::NotStarted:
        word = QCoreApplication::translate("ProgressLine", "waiting");
        break;
    case RadioPhase::Connecting:
        word = QCoreApplication::translate("ProgressLine", "connect");
        break;
    case RadioPhase::Transferring:
        word = QCoreApplication::translate("ProgressLine", "transfer");
        break;
    case RadioPhase::Programming:
        word = QCoreApplication::translate("ProgressLine", "program");
        break;
    case RadioPhase::Updated:
        word = QCoreApplication::translate("ProgressLine", "updated");
        break;
    case RadioPhase::Failed:
        word = QCoreApplication::translate("ProgressLine", "failed");
        break;
    case RadioPhase::Stopped:
        // The note says "stopped ..." itself.
        break;
    }
    return PadWidth(word, PHASE_COLUMNS);
}

QString Bar(int width, quint64 done, quint64 total)
{
    const int inner = width - 2;
    // Nothing known of the size yet is nothing done: an empty bar.
    const int filled = total == 0 ? 0 : int(qMin(done, total) * quint64(inner) / total);
    QString bar(inner, u' ');
    for (int i = 0; i < filled; ++i)
        bar[i] = u'=';
    if (filled < inner && filled > 0)
        bar[filled] = u'>';
    return u'[' + bar + u']';
}

} // namespace

qint64 TransferSecondsLeft(const ProgressView& view)
{
    if (view.phase != RadioPhase::Transferring || view.transferMs < RATE_SETTLE_MS || view.bytesSent == 0)
        return -1;
    const double bytesPerSecond = double(view.bytesSent) * 1000.0 / double(view.transferMs);
    return qint64(double(view.totalBytes - qMin(view.bytesSent, view.totalBytes)) / bytesPerSecond + 0.5);
}

QString FormatProgressLine(const ProgressView& view, int columns)
{
    if (columns <= 0)
        columns = DEFAULT_COLUMNS;
    const int room = columns - 1;
    const bool narrow = columns < NARROW_TERMINAL_COLUMNS;
    // Between two attempts the radio is neither connecting nor sending: the wait counts down.
    if (view.retryInMs >= 0) {
        const qint64 seconds = (view.retryInMs + 999) / 1000;
        const QString head = view.label.isEmpty() ? QString() : narrow ? view.label + u' ' : view.label + QStringLiteral("  ");
        return FitWidth(head + QCoreApplication::translate("ProgressLine", "waiting to retry in %1 s").arg(seconds), room);
    }
    const QString head = view.label.isEmpty() ? QString()
                         : narrow             ? view.label + u' '
                                              : view.label + QStringLiteral("  ") + PhaseWord(view.phase) + u' ';

    // The facts of the phase; the bar goes in front of them when there is room.
    QString facts;
    bool withBar = false;
    quint64 done = 0;
    quint64 total = 0;
    switch (view.phase) {
    case RadioPhase::Transferring: {
        withBar = true;
        done = view.bytesSent;
        total = view.totalBytes;
        const int percent = total == 0 ? 0 : int(done * 100 / total);
        QString rate = QStringLiteral("--");
        QString left = QStringLiteral("--:--");
        const qint64 secondsLeft = TransferSecondsLeft(view);
        if (secondsLeft >= 0) {
            rate = FormatRate(double(done) * 1000.0 / double(view.transferMs));
            left = FormatDuration(secondsLeft);
        }
        facts = narrow ? QStringLiteral("%1% %2 %3").arg(percent).arg(rate, left)
                       : QCoreApplication::translate("ProgressLine", "%1%  %2  %3 left").arg(percent, 3).arg(rate, left);
        break;
    }
    case RadioPhase::Programming:
        facts = narrow ? QCoreApplication::translate("ProgressLine", "program %1 s").arg(view.waitedMs / 1000)
                       : QCoreApplication::translate("ProgressLine", "waited %1 s of %2 s").arg(view.waitedMs / 1000).arg(view.programTimeoutMs / 1000);
        break;
    case RadioPhase::Updated:
        withBar = true;
        done = total = 1;
        facts = narrow ? QCoreApplication::translate("ProgressLine", "updated %1 s").arg(view.elapsedMs / 1000.0, 0, 'f', 1)
                       : QCoreApplication::translate("ProgressLine", "100%  %1 s").arg(view.elapsedMs / 1000.0, 0, 'f', 1);
        break;
    case RadioPhase::Failed:
    case RadioPhase::Stopped:
        facts = view.note;
        break;
    case RadioPhase::Connecting:
        facts = narrow && !view.label.isEmpty() ? QCoreApplication::translate("ProgressLine", "connect %1 s").arg(view.elapsedMs / 1000)
                                                : QCoreApplication::translate("ProgressLine", "%1 s").arg(view.elapsedMs / 1000);
        break;
    case RadioPhase::NotStarted:
        if (narrow && !view.label.isEmpty())
            facts = PhaseWord(view.phase).trimmed();
        break;
    }
    if (view.stalled)
        facts = QCoreApplication::translate("ProgressLine", "stalled %1").arg(facts);

    QString line = head + facts;
    if (withBar && !narrow) {
        const int barWidth = qMin(MAX_BAR, room - DisplayWidth(line) - 1);
        if (barWidth >= MIN_BAR)
            line = head + Bar(barWidth, done, total) + u' ' + facts;
    }
    return FitWidth(line, room);
}
