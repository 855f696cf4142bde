#include "FleetEvent.h"

QString StateWord(RadioState state)
{
    switch (state) {
    case RadioState::Updated:
        return QStringLiteral("updated");
    case RadioState::Failed:
        return QStringLiteral("failed");
    case RadioState::NotStarted:
        return QStringLiteral("not-started");
    case RadioState::Interrupted:
        return QStringLiteral("interrupted");
    case RadioState::Unknown:
        return QStringLiteral("unknown");
    }
    return QString();
}

QString StateText(RadioState state)
{
    return StateWord(state).replace(u'-', u' ');
}

QString ProgrammingNote(int radios, const QString& again)
{
    const QString programming = radios == 1 ? QStringLiteral("1 radio is programming; do not switch it off")
                                            : QStringLiteral("%1 radios are programming; do not switch them off").arg(radios);
    return QStringLiteral("%1; %2 again to stop waiting").arg(programming, again);
}
