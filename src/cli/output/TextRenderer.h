// The run as text: status lines on stdout and failures on stderr, each after "RADIO: ", notes on
// stderr, and the summary table with a totals line at the end.
#pragma once

#include "FleetRenderer.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

class ProgressBlock;

class TextRenderer : public FleetRenderer {
    Q_DECLARE_TR_FUNCTIONS(TextRenderer)

public:
    // `block` (may be null) is taken away around every line written and drawn again after it.
    TextRenderer(const QStringList& labels, bool quiet, QTextStream& out, QTextStream& err, ProgressBlock* block);

    void Render(const FleetEvent& event) override;

    // The summary table: each radio, its state, exit status, seconds and message, cut to
    // `columns` (0: not cut), each radio on two lines where the message would find no room
    // beside the rest; then the totals.
    static QStringList SummaryLines(const QStringList& labels, const QVector<RadioOutcome>& outcomes, int columns);

private:
    void Lines(QTextStream& stream, const QString& prefix, const QString& text);

    const QStringList m_labels;
    const bool m_quiet;
    QTextStream& m_out;
    QTextStream& m_err;
    ProgressBlock* m_block;
};
