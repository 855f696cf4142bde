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
    int radioWidth = DisplayWidth(QStringLiteral("radio"));
    for (const QString& label : labels)
        radioWidth = qMax(radioWidth, DisplayWidth(label));
    const int stateWidth = DisplayWidth(QStringLiteral("not-started"));
    // Cut, never wrapped: a wrapped line would break the table apart. The state, the status and
    // the seconds always show: the radio's name gives way first, at its start, where addresses
    // are most alike; on the narrowest terminals the columns close up to one blank between them.
    const int room = columns > 0 ? columns - 1 : std::numeric_limits<int>::max() / 2;
    const bool tight = room < MIN_RADIO_COLUMNS + DisplayWidth(QStringLiteral("    exit  seconds")) + stateWidth;
    const QString gap = tight ? QStringLiteral(" ") : QStringLiteral("  ");
    const QString facts = gap + PadWidth(QStringLiteral("state"), stateWidth) + gap + QStringLiteral("exit") + gap + QStringLiteral("seconds");
    const int factsWidth = DisplayWidth(facts);
    // Too narrow for a message column of some use: each radio on two lines, the message below.
    const bool twoLines = radioWidth + factsWidth + 2 + MIN_MESSAGE_COLUMNS > room;
    radioWidth = qMin(radioWidth, qMax(tight ? 1 : MIN_RADIO_COLUMNS, room - factsWidth));
    const int messageWidth = twoLines ? room - 2 : room - radioWidth - factsWidth - 2;
    QStringList lines{PadWidth(FitWidth(QStringLiteral("radio"), radioWidth), radioWidth) + facts + (twoLines ? QString() : QStringLiteral("  message"))};
    if (twoLines)
        lines << QStringLiteral("  message");
    for (int i = 0; i < outcomes.size(); ++i) {
        const RadioOutcome& o = outcomes[i];
        const QString row = PadWidth(FitWidth(labels[i], radioWidth, true), radioWidth) + gap
                            + PadWidth(StateWord(o.state), stateWidth) + gap
                            + QStringLiteral("%1").arg(o.ExitJson().isNull() ? QStringLiteral("-") : QString::number(o.exitCode), 4) + gap
                            + QStringLiteral("%1").arg(double(o.elapsedMs) / 1000.0, 7, 'f', 1);
        // The attempts stay whole; the text gives way before them.
        const QString attempts = o.attempts > 1 ? QStringLiteral("(%1 attempts)").arg(o.attempts) : QString();
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
            totals << QStringLiteral("%1 %2").arg(tally[state]).arg(StateText(state));
    }
    lines << QStringLiteral("%1 %2: %3")
                 .arg(outcomes.size())
                 .arg(outcomes.size() == 1 ? QStringLiteral("radio") : QStringLiteral("radios"), totals.join(QStringLiteral(", ")));
    return lines;
}
