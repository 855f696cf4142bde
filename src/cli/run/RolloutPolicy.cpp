#include "RolloutPolicy.h"

#include "cli/text/CliText.h"

#include "engine/ExitStatus.h"

#include <chrono>

int RetryDelayMs(int attempt)
{
    return qMin(RETRY_MOST_DELAY_MS, RETRY_FIRST_DELAY_MS << qBound(0, attempt - 1, 15));
}

RolloutPolicy::RolloutPolicy(const RolloutRules& rules, int radios)
    : m_rules(rules), m_waves(rules.waves.isEmpty() ? QVector<int>{radios} : rules.waves)
{
}

QVector<int> RolloutPolicy::WaveSizes(const QVector<WaveSize>& waves, int canary, int radios)
{
    const QVector<WaveSize> list = canary > 0 ? QVector<WaveSize>{{canary, false}, {100, true}}
                                   : waves.isEmpty() ? QVector<WaveSize>{{100, true}}
                                                     : waves;
    QVector<int> sizes;
    for (int left = radios, i = 0; left > 0; ++i) {
        const WaveSize& wave = list[qMin(i, int(list.size()) - 1)];
        const int size = wave.share ? qMax(1, int(qint64(radios) * wave.value / 100)) : wave.value;
        sizes << qMin(size, left);
        left -= sizes.last();
    }
    return sizes;
}

int RolloutPolicy::FailureLimit(int count, int percent, int radios)
{
    if (percent > 0)
        return int((qint64(radios) * percent + 99) / 100);
    return count;
}

bool RolloutPolicy::LimitCanStopARadio(const QVector<int>& waves, int jobs, int limit)
{
    // The last radio of a wave starts once every earlier wave and all but `jobs` of its own wave
    // have ended; if even that is fewer radios than the limit, every radio has started before
    // the limit can be reached.
    int before = 0;
    for (int size : waves) {
        if (before + qMax(0, size - jobs) >= limit)
            return true;
        before += size;
    }
    return false;
}

qint64 SteadyClockMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

qint64 RolloutPolicy::Now() const
{
    return m_rules.now ? m_rules.now() : SteadyClockMs();
}

bool RolloutPolicy::StopBy(LeftOut cause)
{
    LeftOut none = LeftOut::None;
    return m_cause.compare_exchange_strong(none, cause);
}

bool RolloutPolicy::PastDeadline() const
{
    return m_rules.deadlineMs > 0 && Now() >= m_rules.deadlineMs;
}

bool RolloutPolicy::MayStart(bool interrupted, bool outputClosed, bool* firstNo)
{
    LeftOut no = interrupted                                                          ? LeftOut::Interrupted
                 : outputClosed                                                       ? LeftOut::OutputClosed
                 : m_rules.failureLimit > 0 && m_failures.load() >= m_rules.failureLimit
                     ? (m_canaryFailed.load() ? LeftOut::CanaryFailed : LeftOut::FailureLimit)
                 : PastDeadline()                                                     ? LeftOut::Deadline
                                                                                      : LeftOut::None;
    if (no == LeftOut::None && m_cause.load() == LeftOut::None)
        return true;
    const bool first = no != LeftOut::None && StopBy(no);
    if (firstNo)
        *firstNo = first;
    return false;
}

int RolloutPolicy::RetryWaitMs(int attempt, UpdateResult result, bool failed) const
{
    const bool beforeProgram = result == UpdateResult::RadioNotFound || result == UpdateResult::TransferFailed;
    return failed && beforeProgram && attempt <= m_rules.retries ? RetryDelayMs(attempt) : -1;
}

int RolloutPolicy::WaitBeforeDeadline(int ms) const
{
    if (m_rules.deadlineMs <= 0)
        return ms;
    return int(qBound<qint64>(0, m_rules.deadlineMs - Now(), qint64(ms)));
}

bool RolloutPolicy::Ended(bool failed, int waiting, int radio)
{
    if (!failed)
        return false;
    // A failed canary stops the rollout as such, also when it reaches the failure limit too.
    const bool canary = m_rules.canary && radio < m_waves.value(0);
    if (canary)
        m_canaryFailed.store(true);
    if (++m_failures != m_rules.failureLimit)
        return false;
    return waiting > 0 && StopBy(canary ? LeftOut::CanaryFailed : LeftOut::FailureLimit);
}

bool RolloutPolicy::NextWave(int wave, int failed)
{
    if (m_cause.load() != LeftOut::None)
        return false;
    if (failed == 0 || (m_rules.failureLimit > 0 && !IsCanary(wave)))
        return true;
    if (StopBy(IsCanary(wave) ? LeftOut::CanaryFailed : LeftOut::WaveFailed))
        m_failedWave.store(wave + 1);
    return false;
}

QString RolloutPolicy::LeftOutText(bool interrupted, bool english) const
{
    const char* text = QT_TRANSLATE_NOOP("RolloutPolicy", "failure limit");
    // An interrupt speaks for every radio it kept from starting, whatever stopped new ones first.
    switch (interrupted ? LeftOut::Interrupted : m_cause.load()) {
    case LeftOut::Interrupted:
        text = QT_TRANSLATE_NOOP("RolloutPolicy", "interrupted before it started");
        break;
    case LeftOut::OutputClosed:
        text = QT_TRANSLATE_NOOP("RolloutPolicy", "output closed");
        break;
    case LeftOut::Deadline:
        text = QT_TRANSLATE_NOOP("RolloutPolicy", "deadline");
        break;
    case LeftOut::CanaryFailed:
        text = QT_TRANSLATE_NOOP("RolloutPolicy", "canary failed");
        break;
    case LeftOut::WaveFailed:
        text = QT_TRANSLATE_NOOP("RolloutPolicy", "wave %1 failed");
        break;
    case LeftOut::FailureLimit:
    case LeftOut::None:
        break;
    }
    const QString said = english ? QString::fromLatin1(text) : tr(text);
    return said.contains(QLatin1String("%1")) ? said.arg(m_failedWave.load()) : said;
}

int RolloutPolicy::ExitCode(const QVector<RadioOutcome>& outcomes)
{
    bool leftOut = false;
    for (const RadioOutcome& outcome : outcomes) {
        if (outcome.state != RadioState::Updated && outcome.exitCode != NO_EXIT_STATUS)
            return outcome.exitCode;
        leftOut = leftOut || outcome.state == RadioState::NotStarted;
    }
    return leftOut ? EXIT_DEADLINE : 0;
}

QStringList RolloutPolicy::Describe() const
{
    QStringList rules;
    if (m_rules.canary) {
        rules << tr("the canary goes first; if any of it fails, no other radio starts, whatever the "
                    "failure limit");
    } else if (m_waves.size() > 1 && m_rules.failureLimit == 0) {
        rules << tr("a wave in which a radio fails is the last");
    }
    if (m_rules.failureLimit > 0)
        rules << tr("no radio starts once %1 failed").arg(RadioCount(m_rules.failureLimit));
    if (m_rules.retries > 0) {
        rules << tr("a radio that fails before the program command is tried up to %1 more times")
                     .arg(m_rules.retries);
    }
    if (m_rules.deadlineMs > 0)
        rules << tr("no radio starts after the deadline; a wave pause or a wait to try again ends at it");
    return rules;
}
