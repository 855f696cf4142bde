// One firmware update from file to radio: loads the image, connects, sends it block by block,
// asks the radio to program it, reports every stage and releases everything before returning.
#pragma once

#include "TimedSocket.h"
#include "UpdateProtocol.h"

#include <QByteArray>
#include <QString>

class IUpdateReporter;

// How a run ended; the command-line updater exits with ExitCodeFor(result).
enum class UpdateResult {
    Updated,
    FileUnusable,    // the firmware file cannot be loaded or is too short
    RadioNotFound,   // no connection within the connect time-out
    TransferFailed,  // begin, a data block or the echo failed
    ProgramRefused,  // the radio refused the program command
    NoProgramReply,  // no reply to the program command within its time-out
};

int ExitCodeFor(UpdateResult result);

struct UpdateTimeouts {
    int connectMs = 3000;    // an address that does not answer
    int transferMs = 10000;  // a radio that stops answering during the transfer
    int programMs = 180000;  // the radio programs its memory before it replies
    int busyDelayMs = BUSY_RETRY_DELAY_MS; // a busy radio is not asked again at once
};

class CUpdateRun {
public:
    CUpdateRun(IUpdateReporter& reporter, quint16 language, UpdateTimeouts timeouts = {},
               quint16 port = UPDATE_PORT);

    // Tests wrap the tick to check the time-out across the 32-bit wrap.
    void SetTickSource(CTimedSocket::TickSource tick) { m_tick = std::move(tick); }

    // Another thread ends the run by setting `flag` (see CTimedSocket::SetAbortFlag): the
    // phase in progress fails and the clean-up runs as after any failure.
    // Once it is set, no program command goes out: a radio that has taken the whole image but
    // not the command keeps its old firmware.
    void SetAbortFlag(const std::atomic<bool>* flag) { m_pAbort = flag; }
    // The wait for the program reply ends only on this flag: a radio that is programming is left
    // alone by the first stop, since cutting it off tells nobody whether it finished.
    void SetProgramAbortFlag(const std::atomic<bool>* flag) { m_pProgramAbort = flag; }
    // The connection's wait slice (see CTimedSocket::SetWaitSlice).
    void SetWaitSlice(int milliseconds) { m_nWaitSliceMs = milliseconds; }

    UpdateResult Run(const QString& fileName, const QString& address);
    // The same with the image already loaded and checked; the run only reads it, so several
    // runs in different threads may share one copy.
    UpdateResult RunLoaded(const QByteArray& image, const QString& address);
    // The same on a connection made by other means and handed over with CTimedSocket::Adopt
    // (the fuzzer's radio in the same process): the connect is skipped, the rest reports as
    // usual, and the socket is closed at the end. Its tick is the socket's own; a socket that is
    // not connected ends the run as a radio not found.
    UpdateResult RunConnected(CTimedSocket& socket, const QByteArray& image);

private:
    UpdateResult Update(CTimedSocket& socket, const QByteArray& image, const QString& address);
    void CleanUp(CTimedSocket& socket);
    bool Transfer(CTimedSocket& socket, const QByteArray& image);
    UpdateResult Fail(UpdateResult result, quint16 textId);
    void Status(quint16 textId);

    IUpdateReporter& m_reporter;
    quint16 m_wLanguage;
    UpdateTimeouts m_timeouts;
    quint16 m_port;
    CTimedSocket::TickSource m_tick;
    const std::atomic<bool>* m_pAbort = nullptr;
    const std::atomic<bool>* m_pProgramAbort = nullptr;
    int m_nWaitSliceMs = CTimedSocket::DEFAULT_WAIT_SLICE_MS;
    char m_request[REQUEST_BUFFER_SIZE] = {};
    char m_reply[REPLY_BUFFER_SIZE] = {};
};
