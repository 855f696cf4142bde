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
