// The fault matrix through zerlind-firm-update: for every case the status lines, the failure
// text, the exit status, a wait bounded by the phase's time-out, and the connection closed.
#include "FaultCase.h"
#include "FaultScene.h"

#include "base/MessageCatalog.h"
#include "common/ProcessResources.h"
#include "common/TestSupport.h"
#include "common/UpdaterProcess.h"

#include <gtest/gtest.h>

namespace {

using namespace FaultMatrix;

// Exit statuses of the updater's contract, written out here rather than taken from the engine's
// own mapping, so that a changed mapping fails the matrix.
int ExitStatusOf(UpdateResult result)
{
    switch (result) {
    case UpdateResult::Updated:
        return 0;
    case UpdateResult::FileUnusable:
        return 3;
    case UpdateResult::RadioNotFound:
        return 4;
    case UpdateResult::TransferFailed:
        return 5;
    case UpdateResult::ProgramRefused:
        return 6;
    case UpdateResult::NoProgramReply:
        return 7;
    }
    return -1;
}

class CliFaultMatrix : public ::testing::TestWithParam<FaultCase> {};

} // namespace

TEST_P(CliFaultMatrix, PrintsTheTextExitsWithItsStatusAndWaitsNoLongerThanThePhaseAllows)
{
    const FaultCase& c = GetParam();
    const QString image = TestSupport::WriteRandomFile(QString::fromStdString(c.name) + ".dat", kImageSize);
    const int descriptorsBefore = ProcessResources::OpenDescriptors();
    {
        const quint16 port = CliPortOf(c);
        CFaultScene scene(c, CliAddressOf(c), port);
        ASSERT_TRUE(scene.Ready());

        const UpdaterOutcome updater = RunUpdater(
            {"--lang", "en", "--port", QString::number(port), "--connect-timeout", QString::number(kTimeouts.connectMs),
             "--transfer-timeout", QString::number(kTimeouts.transferMs), "--program-timeout",
             QString::number(kTimeouts.programMs), image, CliAddressOf(c)});
        const qint64 elapsed = updater.elapsedMs;

        const std::vector<quint16> lines = ExpectedLines(c.result);
        QString out;
        for (size_t i = 0; i + 1 < lines.size(); ++i)
            out += TerminalLine(LoadText(lines[i], LanguageEnglishUs));
        EXPECT_EQ(updater.exitCode, ExitStatusOf(c.result));
        if (c.result == UpdateResult::Updated) {
            EXPECT_EQ(updater.out, out + TerminalLine(LoadText(lines.back(), LanguageEnglishUs)));
            EXPECT_EQ(updater.err, QString());
        } else {
            // The failure text goes to stderr alone.
            EXPECT_EQ(updater.out, out);
            EXPECT_EQ(updater.err, TerminalLine(LoadText(lines.back(), LanguageEnglishUs)));
        }
        // The whole process, start-up included, stays within the phase's time-out and the grace.
        const int timeout = PhaseTimeoutMs(c.result);
        EXPECT_LE(elapsed, timeout + kGraceMs + kProgramStartMs);
        if (c.waitsOutTimeout) {
            EXPECT_GE(elapsed, timeout);
        }
        scene.ExpectSessionEnded(image);
    }
    if (descriptorsBefore >= 0) {
        EXPECT_EQ(ProcessResources::OpenDescriptors(), descriptorsBefore);
    }
}

INSTANTIATE_TEST_SUITE_P(Faults, CliFaultMatrix, ::testing::ValuesIn(FaultMatrix::Cases()),
                         [](const ::testing::TestParamInfo<FaultCase>& info) { return info.param.name; });
