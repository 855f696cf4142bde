// What a run over several radios tells: the events that the radios' threads publish and the
// writer renders, and how each radio ended.
#pragma once

#include "RadioPhase.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QVector>

#include <array>
#include <iterator>

// A radio that never started has no status of its own.
inline constexpr int NO_EXIT_STATUS = -1;

// How a radio's run ended, as the summary, the JSON result and the failed list name it.
enum class RadioState { Updated, Failed, NotStarted, Interrupted, Unknown };
// Every state, in the order above: a state added there is added here, and the tally grows with it.
inline constexpr RadioState RADIO_STATES[] = {RadioState::Updated, RadioState::Failed, RadioState::NotStarted,
                                              RadioState::Interrupted, RadioState::Unknown};
static_assert(int(RadioState::Unknown) + 1 == int(std::size(RADIO_STATES)), "every state is in RADIO_STATES");

// "updated", "failed", "not-started", "interrupted", "unknown": the JSON's words.
QString StateWord(RadioState state);
// A count of radios in a state as a person reads it, in their language: "2 not started".
QString StateCount(RadioState state, int radios);
// The state as the summary table shows it, in the reader's language: "not-started".
QString StateCell(RadioState state);
// What the first interrupt says while `radios` radios are programming; `again` repeats it.
QString ProgrammingNote(int radios, const QString& again);

struct RadioOutcome {
    RadioState state = RadioState::NotStarted;
    int exitCode = 0;     // the status the radio alone would end with; NO_EXIT_STATUS when never started
    QString text;         // the failure text or the reason, one line; empty when updated
    qint64 elapsedMs = 0;
    quint64 bytes = 0;    // image bytes the radio accepted
    int attempts = 0;     // how often it was tried: 0 when never started
    // The same as JSON keeps it (the result event and the log), in both languages alike: the
    // program's own words in English; the catalog's failure texts as `text` has them.
    QString jsonText;

    // The status as the JSON result and the log give it: null when the radio never started.
    QJsonValue ExitJson() const { return exitCode == NO_EXIT_STATUS ? QJsonValue() : QJsonValue(exitCode); }
};

// How many radios ended in each state.
class RadioTally {
public:
    RadioTally() = default;
    explicit RadioTally(const QVector<RadioOutcome>& outcomes)
    {
        for (const RadioOutcome& outcome : outcomes)
            Add(outcome.state);
    }

    void Add(RadioState state) { ++m_counts[size_t(state)]; }
    int operator[](RadioState state) const { return m_counts[size_t(state)]; }

private:
    std::array<int, std::size(RADIO_STATES)> m_counts{};
};

struct FleetEvent {
    enum class Kind {
        Status,   // a status line of a radio's run
        Failure,  // a radio's failure text (also on stderr in JSON mode)
        Phase,    // a radio reached `phase`
        Progress, // image bytes sent; folded into the latest while the reader lags
        Result,   // a radio ended: `outcome`
        Note,     // a line about the run on stderr: "resolving 4 names"
        Rollout,  // a group starts or new radios stop: a note, or in JSON the event in `fields`
        Fact,     // `text` as a line on stdout, or `fields` as a JSON event
        Summary,  // the run ended: the outcomes are in `outcomes`, `exitCode` is the run's
    };

    Kind kind = Kind::Note;
    int radio = -1;          // index in the run's list; -1 for the run as a whole
    qint64 timeMs = 0;       // when it happened: milliseconds since the epoch, UTC
    QString text;
    RadioPhase phase = RadioPhase::NotStarted;
    quint64 bytes = 0;
    quint64 total = 0;
    RadioOutcome outcome;
    QVector<RadioOutcome> outcomes; // Summary: every radio's, in list order
    QJsonObject fields;
    int exitCode = 0;
};
