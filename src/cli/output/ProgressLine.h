// One line of progress on a terminal, as users of curl, pv or apt expect it: a bar with the
// percentage, the rate and the time left during the transfer, the seconds waited while the
// radio programs, and a radio's final state.
#pragma once

#include "cli/run/RadioPhase.h"

#include <QString>
#include <QtGlobal>

struct ProgressView {
    QString label;              // the radio's address, padded by the caller; empty for one radio
    RadioPhase phase = RadioPhase::NotStarted;
    quint64 bytesSent = 0;
    quint64 totalBytes = 0;
    qint64 transferMs = 0;      // since the transfer began
    qint64 waitedMs = 0;        // since the program command went
    int programTimeoutMs = 0;
    qint64 elapsedMs = 0;       // the whole run so far; shown while connecting and once it has ended
    bool stalled = false;       // nothing moved for a while: said in front of the facts
    QString note;               // Failed and Stopped: what happened, one line
    qint64 retryInMs = -1;      // waiting to try the radio again: how long yet; -1: not waiting
};

// Seconds the transfer of `view` has left at its rate so far; -1 before there is a rate.
qint64 TransferSecondsLeft(const ProgressView& view);

// Below this many columns the bar is left out.
inline constexpr int NARROW_TERMINAL_COLUMNS = 60;

// The line for `view`, never wider than `columns` - 1: a character in the last column makes
// some terminals wrap. Without a known width (0), it is laid out for 80 columns.
QString FormatProgressLine(const ProgressView& view, int columns);
