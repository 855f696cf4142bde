// The run as JSON Lines on stdout, one object per event, each with its "time"; failure texts
// and notes also go to stderr as text, where a person watching a script looks.
#pragma once

#include "FleetRenderer.h"

#include <QElapsedTimer>
#include <QStringList>
#include <QTextStream>
#include <QVector>

class JsonRenderer : public FleetRenderer {
public:
    // `addresses`: what each radio connects to; `sha256`: the image's, for the result events.
    JsonRenderer(const QStringList& labels, const QStringList& addresses, const QString& sha256, bool quiet,
                  QTextStream& out, QTextStream& err);

    void Render(const FleetEvent& event) override;

    // `event` with its "time" as one line.
    static QString Line(QJsonObject event, qint64 timeMs);
    // `event` as one line on `out`, timed now: the events of a command that runs no radio.
    static void Write(QTextStream& out, const QJsonObject& event);

    // The run's last event: how many radios ended in each state, and its status.
    static QJsonObject Summary(const QVector<RadioOutcome>& outcomes, int exitCode);
    // A refusal before anything is sent, with the status it ends with.
    static QJsonObject Error(const QString& text, int exitCode);
    // The scan: a radio that answered, and how many addresses were knocked on.
    static QJsonObject Found(const QString& radio);
    static QJsonObject ScanSummary(qint64 scanned, int found, int exitCode);

private:
    const QStringList m_labels;
    const QStringList m_addresses;
    const QString m_sha256;
    const bool m_quiet;
    QTextStream& m_out;
    QTextStream& m_err;
    QVector<QElapsedTimer> m_sinceProgress;
    QVector<quint64> m_lastBytes;
};
