#include "UpdateRun.h"

#include "ExitStatus.h"
#include "FirmwareImage.h"
#include "RadioAddress.h"
#include "UpdateReporter.h"

#include "base/MessageCatalog.h"

namespace {

// The progress bar steps once per this many blocks.
constexpr int PROGRESS_STEP_BLOCKS = 10;

} // namespace

int ExitCodeFor(UpdateResult result)
{
    switch (result) {
    case UpdateResult::Updated:
        return EXIT_UPDATED;
    case UpdateResult::FileUnusable:
        return EXIT_FILE;
    case UpdateResult::RadioNotFound:
        return EXIT_NOT_REACHED;
    case UpdateResult::TransferFailed:
        return EXIT_TRANSFER_FAILED;
    case UpdateResult::ProgramRefused:
        return EXIT_PROGRAM_REFUSED;
    case UpdateResult::NoProgramReply:
        return EXIT_NO_PROGRAM_REPLY;
    }
    return EXIT_TRANSFER_FAILED; // not reached: every result has its case
}

CUpdateRun::CUpdateRun(IUpdateReporter& reporter, quint16 language, UpdateTimeouts timeouts, quint16 port)
    : m_reporter(reporter), m_wLanguage(language), m_timeouts(timeouts), m_port(port)
{
}

UpdateResult CUpdateRun::Run(const QString& fileName, const QString& address)
{
    CTimedSocket socket(m_tick);
    UpdateResult result = UpdateResult::FileUnusable;
    {
        // The image lives only for the run: released before the connection closes.
        QByteArray image;
        QString fileError;
        if (LoadFirmwareFile(fileName, m_wLanguage, image, fileError)) {
            result = Update(socket, image, address);
        } else {
            m_reporter.ShowFileError(fileError);
            m_reporter.FocusEditAtEnd(InputField::FileName);
        }
        m_reporter.StopWaitAnimation();
    }
    CleanUp(socket);
    return result;
}

UpdateResult CUpdateRun::RunLoaded(const QByteArray& image, const QString& address)
{
    CTimedSocket socket(m_tick);
    const UpdateResult result = Update(socket, image, address);
    m_reporter.StopWaitAnimation();
    CleanUp(socket);
    return result;
}

UpdateResult CUpdateRun::RunConnected(CTimedSocket& socket, const QByteArray& image)
{
    const UpdateResult result = Update(socket, image, QString());
    m_reporter.StopWaitAnimation();
    CleanUp(socket);
    return result;
}

void CUpdateRun::CleanUp(CTimedSocket& socket)
{
    // After the wait animation has stopped and the image is gone, on every path, in this order.
    socket.Close();
    m_reporter.SetActiveConnection(false);
    m_reporter.EnableInputControls(true);
}

UpdateResult CUpdateRun::Update(CTimedSocket& socket, const QByteArray& image, const QString& address)
{
    socket.SetAbortFlag(m_pAbort);
    socket.SetWaitSlice(m_nWaitSliceMs);
    m_reporter.EnableInputControls(false);
    m_reporter.SetActiveConnection(true);
    socket.SetTimeout(m_timeouts.connectMs);
    Status(IDS_STATUS_CONNECTING);
    if (!socket.IsConnected() && !socket.Connect(AddressToUse(address), m_port)) {
        const UpdateResult result = Fail(UpdateResult::RadioNotFound, IDS_ERR_NOT_FOUND);
        m_reporter.EnableInputControls(true);
        m_reporter.FocusEditAtEnd(InputField::Address);
        return result;
    }
    Status(IDS_STATUS_CONNECTED);

    if (!Transfer(socket, image) || (m_pAbort && m_pAbort->load()))
        return Fail(UpdateResult::TransferFailed, IDS_ERR_TRANSFER);

    Status(IDS_STATUS_TRANSFERRED);
    Status(IDS_STATUS_UPDATE_START);
    Status(IDS_STATUS_WAIT);
    socket.SetTimeout(m_timeouts.programMs);
    socket.SetAbortFlag(m_pProgramAbort);
    m_reporter.StartWaitAnimation();
    if (!ExchangeRequest(socket, CMD_PROGRAM, m_request, m_reply, nullptr, 0, ReplyKind::Status,
                         m_timeouts.busyDelayMs)) {
        m_reporter.StopWaitAnimation();
        return quint8(m_reply[REPLY_STATUS_OFFSET]) == STATUS_NO_REPLY
                   ? Fail(UpdateResult::NoProgramReply, IDS_ERR_NO_REPLY)
                   : Fail(UpdateResult::ProgramRefused, IDS_ERR_ILLEGAL_DATA);
    }
    Status(IDS_STATUS_UPDATED);
    return UpdateResult::Updated;
}

bool CUpdateRun::Transfer(CTimedSocket& socket, const QByteArray& image)
{
    // The loader refuses anything shorter than one block, so the first block and the echo
    // bytes are inside the image.
    const char* bytes = image.constData();
    const quint64 size = quint64(image.size());
    const int fullBlocks = int(size / BLOCK_SIZE);
    const int lastLength = int(size % BLOCK_SIZE);

    m_reporter.StartTransferProgress(fullBlocks);
    Status(IDS_STATUS_TRANSFERRING);
    socket.SetTimeout(m_timeouts.transferMs);

    if (!ExchangeRequest(socket, CMD_BEGIN, m_request, m_reply, nullptr, 0, ReplyKind::Status, m_timeouts.busyDelayMs))
        return false;
    if (!ExchangeRequest(socket, CMD_DATA, m_request, m_reply, bytes, BLOCK_SIZE, ReplyKind::StatusAndEcho,
                         m_timeouts.busyDelayMs)
        || !EchoMatches(m_reply, bytes))
        return false;
    m_reporter.OnDataSent(BLOCK_SIZE, size);

    int block = 1;
    for (; block < fullBlocks; ++block) {
        const quint64 offset = quint64(block) * BLOCK_SIZE;
        if (!ExchangeRequest(socket, CMD_DATA, m_request, m_reply, bytes + offset, BLOCK_SIZE, ReplyKind::Status,
                             m_timeouts.busyDelayMs))
            return false;
        m_reporter.OnDataSent(offset + BLOCK_SIZE, size);
        if (block % PROGRESS_STEP_BLOCKS == 0)
            m_reporter.StepTransferProgress();
    }

    // The remainder goes as one more data request, empty when the size is a whole number of blocks.
    const quint64 lastOffset = quint64(block) * BLOCK_SIZE;
    if (!ExchangeRequest(socket, CMD_DATA, m_request, m_reply, bytes + lastOffset, lastLength, ReplyKind::Status,
                         m_timeouts.busyDelayMs))
        return false;
    m_reporter.OnDataSent(size, size);
    m_reporter.StepTransferProgress();
    return true;
}

UpdateResult CUpdateRun::Fail(UpdateResult result, quint16 textId)
{
    const QString text = LoadText(textId, m_wLanguage);
    m_reporter.AppendFailureLine(text);
    m_reporter.ShowErrorBox(text);
    return result;
}

void CUpdateRun::Status(quint16 textId)
{
    m_reporter.AppendMessageLine(LoadText(textId, m_wLanguage));
}
