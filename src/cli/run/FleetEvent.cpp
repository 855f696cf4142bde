#include "FleetEvent.h"

#include <QCoreApplication>

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

QString StateCount(RadioState state, int radios)
{
    switch (state) {
    case RadioState::Updated:
        return QCoreApplication::translate("FleetEvent", "%1 updated").arg(radios);
    case RadioState::Failed:
        return QCoreApplication::translate("FleetEvent", "%1 failed").arg(radios);
    case RadioState::NotStarted:
        return QCoreApplication::translate("FleetEvent", "%1 not started").arg(radios);
    case RadioState::Interrupted:
        return QCoreApplication::translate("FleetEvent", "%1 interrupted").arg(radios);
    case RadioState::Unknown:
        return QCoreApplication::translate("FleetEvent", "%1 unknown").arg(radios);
    }
    return QString();
}

QString StateCell(RadioState state)
{
    switch (state) {
    case RadioState::Updated:
        return QCoreApplication::translate("FleetEvent", "updated", "state in the table");
    case RadioState::Failed:
        return QCoreApplication::translate("FleetEvent", "failed", "state in the table");
    case RadioState::NotStarted:
        return QCoreApplication::translate("FleetEvent", "not-started", "state in the table");
    case RadioState::Interrupted:
        return QCoreApplication::translate("FleetEvent", "interrupted", "state in the table");
    case RadioState::Unknown:
        return QCoreApplication::translate("FleetEvent", "unknown", "state in the table");
    }
    return QString();
}

QString ProgrammingNote(int radios, const QString& again)
{
    return radios == 1 ? QCoreApplication::translate("FleetEvent", "1 radio is programming; do not switch it off; %1 again to stop waiting")
                             .arg(again)
                       : QCoreApplication::translate("FleetEvent", "%1 radios are programming; do not switch them off; %2 again to stop waiting")
                             .arg(radios)
                             .arg(again);
}
