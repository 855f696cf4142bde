#include "TextRenderer.h"

#include "ProgressBlock.h"
#include "Terminal.h"

#include "cli/text/CliText.h"

#include <limits>

namespace {

// The least room for the message column beside the others; below it the table takes two lines a radio.
constexpr int MIN_MESSAGE_COLUMNS = 20;
// The least room for the radio's name when it must give way to the state and status.
constexpr int MIN_RADIO_COLUMNS = 8;

} // namespace

TextRenderer::TextRenderer(const QStringList& labels, bool quiet, QTextStream& out, QTextStream& err,
                             ProgressBlock* block)
    : m_labels(labels), m_quiet(quiet), m_out(out), m_err(err), m_block(block)
{
}

void TextRenderer::Lines(QTextStream& stream, const QString& prefix, const QString& text)
{
    if (m_block)
        m_block->Erase();
    for (const QString& line : TerminalText(text).split(u'\n'))
        stream << prefix << line << '\n';
    stream.flush();
    if (m_block)
        m_block->Draw();
}

void TextRenderer::Render(const FleetEvent& event)
{
    const QString prefix = event.radio >= 0 ? m_labels[event.radio] + QStringLiteral(": ") : QString();
    switch (event.kind) {
    case FleetEvent::Kind::Status:
        if (!m_quiet)
            Lines(m_out, prefix, event.text);
        break;
    case FleetEvent::Kind::Failure:
        m_out.flush();
        Lines(m_err, prefix, event.text);
        break;
    case FleetEvent::Kind::Note:
    case FleetEvent::Kind::Rollout:
        m_out.flush();
        Lines(m_err, QStringLiteral("zerlind-firm-update: "), event.text);
        break;
    case FleetEvent::Kind::Fact:
        Lines(m_out, QString(), event.text);
        break;
    case FleetEvent::Kind::Summary: {
        if (m_block)
            m_block->Erase();
        // A table wider than the terminal would wrap; cut where stdout is that terminal.
        const int columns = Terminal::IsTerminal(stdout) ? Terminal::Columns(stdout) : 0;
        m_out << '\n';
        for (const QString& line : SummaryLines(m_labels, event.outcomes, columns))
            m_out << line << '\n';
        m_out.flush();
        break;
    }
    case FleetEvent::Kind::Phase:
    case FleetEvent::Kind::Progress:
    case FleetEvent::Kind::Result:
        break;
    }
}

QStringList TextRenderer::SummaryLines(const QStringList& labels, const QVector<RadioOutcome>& outcomes, int columns)
{
    // Headers and states come in the reader's language: every column is measured and padded by
    // display width, where a wide character takes two.
    const QString radioHeader = tr("radio");
    const QString stateHeader = tr("state");
    const QString exitHeader = tr("exit");
    const QString secondsHeader = tr("seconds");
    const QString messageHeader = tr("message");
    int radioWidth = DisplayWidth(radioHeader);
    for (const QString& label : labels)
        radioWidth = qMax(radioWidth, DisplayWidth(label));
    int stateWidth = DisplayWidth(stateHeader);
    for (const RadioState state : RADIO_STATES)
        stateWidth = qMax(stateWidth, DisplayWidth(StateCell(state)));
    // The numbers are right-aligned under their headers: at least as wide as the English ones.
    const int exitWidth = qMax(4, DisplayWidth(exitHeader));
    const int secondsWidth = qMax(7, DisplayWidth(secondsHeader));
    const auto padLeft = [](const QString& text, int width) { return QString(qMax(0, width - DisplayWidth(text)), u' ') + text; };
    // Cut, never wrapped: a wrapped line would break the table apart. The state, the status and
    // the seconds always show: the radio's name gives way first, at its start, where addresses
    // are most alike; on the narrowest terminals the columns close up to one blank between them.
    const int room = columns > 0 ? columns - 1 : std::numeric_limits<int>::max() / 2;
    const bool tight = room < MIN_RADIO_COLUMNS + 4 + exitWidth + 2 + secondsWidth + stateWidth;
    const QString gap = tight ? QStringLiteral(" ") : QStringLiteral("  ");
    const QString facts = gap + PadWidth(stateHeader, stateWidth) + gap + padLeft(exitHeader, exitWidth) + gap
                          + padLeft(secondsHeader, secondsWidth);
    const int factsWidth = DisplayWidth(facts);
    // Too narrow for a message column of some use: each radio on two lines, the message below.
    const bool twoLines = radioWidth + factsWidth + 2 + MIN_MESSAGE_COLUMNS > room;
    radioWidth = qMin(radioWidth, qMax(tight ? 1 : MIN_RADIO_COLUMNS, room - factsWidth));
    const int messageWidth = twoLines ? room - 2 : room - radioWidth - factsWidth - 2;
    const QString messageTitle = QStringLiteral("  ") + messageHeader;
    QStringList lines{PadWidth(FitWidth(radioHeader, radioWidth), radioWidth) + facts + (twoLines ? QString() : messageTitle)};
    if (twoLines)
        lines << messageTitle;
    for (int i = 0; i < outcomes.size(); ++i) {
        const RadioOutcome& o = outcomes[i];
        const QString row = PadWidth(FitWidth(labels[i], radioWidth, true), radioWidth) + gap
                            + PadWidth(StateCell(o.state), stateWidth) + gap
                            + padLeft(o.ExitJson().isNull() ? QStringLiteral("-") : QString::number(o.exitCode), exitWidth) + gap
                            + padLeft(QString::number(double(o.elapsedMs) / 1000.0, 'f', 1), secondsWidth);
        // The attempts stay whole; the text gives way before them.
        const QString attempts = o.attempts > 1 ? tr("(%1 attempts)").arg(o.attempts) : QString();
        const int textWidth = attempts.isEmpty() || o.text.isEmpty() ? messageWidth : messageWidth - DisplayWidth(attempts) - 2;
        QString message = FitWidth(o.text, qMax(1, textWidth));
        if (!attempts.isEmpty())
            message += (message.isEmpty() ? QString() : QStringLiteral("  ")) + attempts;
        if (twoLines) {
            lines << row;
            if (!message.isEmpty())
                lines << QStringLiteral("  ") + message;
        } else {
            lines << (message.isEmpty() ? row : row + QStringLiteral("  ") + message);
        }
    }
    QStringList totals;
    const RadioTally tally(outcomes);
    for (const RadioState state : RADIO_STATES) {
        if (tally[state] > 0 || state == RadioState::Updated)
            totals << StateCount(state, tally[state]);
    }
    const int radios = int(outcomes.size());
    return lines << (radios == 1 ? tr("1 radio: %1").arg(totals.join(tr(", ")))
                                 : tr("%1 radios: %2").arg(QString::number(radios), totals.join(tr(", "))));
}
