// The records under fire, beside the rollout model: random fleets with faults before, at and
// after the program command, retries and waves, each ended at a random moment (after a random
// number of records) by SIGKILL, SIGINT once or twice, SIGTERM, or a reader that stopped reading
// and then SIGTERM. After each the log and the list must still be true: every line of the log
// parses and it ends with a line feed, the earlier record is intact, the list is the old one or
// a whole new one, each radio the log calls updated holds the image, no radio is named twice.
// The seed is printed; RECORDS_SEED=N replays that case alone, RECORDS_BASE=N draws other fleets,
// RECORDS_CASES=N runs more (to 256). Radios on 127.7.0.0/16, a /24 a case. A full disk has its own test (Records.AFullDisk...).
#include "common/RadioSimProcess.h"
#include "common/SpawnedUpdater.h"
#include "common/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QSet>
#include <gtest/gtest.h>

#include <csignal>
#include <iostream>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int CASES = 200;

QByteArray Read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TortureCase(quint32 seed, int net)
{
    SCOPED_TRACE("RECORDS_SEED=" + std::to_string(seed));
    QRandomGenerator pick(seed);
    // Endings: 0 SIGKILL, 1 SIGINT, 2 SIGINT twice, 3 SIGTERM, 4 a stalled reader and SIGTERM
    // (rarer: each waits out the second that tells a stalled output).
    const int radios = pick.bounded(1, 41), ending = pick.bounded(9) / 2, moment = pick.bounded(radios + 1);
    const QString dir = TestSupport::ScratchDir() + QStringLiteral("/torture-%1").arg(net), image = dir + "/fw.dat";
    QDir(dir).removeRecursively();
    QDir().mkpath(dir);
    QByteArray imageBytes(1024 * pick.bounded(1, 9), Qt::Uninitialized);
    pick.fillRange(reinterpret_cast<quint32*>(imageBytes.data()), imageBytes.size() / 4);
    const QByteArray oldRecord = "{\"old\":true}\n", oldList = "# not updated by zerlind-firm-update old\n127.7.255.1\n";
    for (const auto& [path, bytes] : {std::pair{image, imageBytes}, {dir + "/log.jsonl", oldRecord}, {dir + "/failed.txt", oldList}}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    const QString first = QStringLiteral("127.7.%1.1").arg(net);
    QStringList simOptions{"--save", dir + "/%a.saved", "--program-delay", QString::number(pick.bounded(40))};
    QStringList args{"--jobs", QString::number(pick.bounded(1, 9)), "--retries", QString::number(pick.bounded(16) == 0 ? 1 : 0), "--waves",
                     QStringLiteral("%1,50%").arg(pick.bounded(1, radios + 1)), "--log", dir + "/log.jsonl", "--failed", dir + "/failed.txt", image};
    for (int i = 1; i <= radios; ++i) {
        const QString radio = QStringLiteral("127.7.%1.%2").arg(net).arg(i);
        args << radio;
        // Before, at and after the program command, for one radio in four.
        const char* faults[] = {"begin", "data:1", "program", nullptr};
        if (const char* at = pick.bounded(4) == 0 ? faults[pick.bounded(3)] : nullptr)
            simOptions << "--refuse" << radio + u'/' + at;
    }
    RadioSimProcess sim(first + u'-' + QStringLiteral("127.7.%1.%2").arg(net).arg(radios), simOptions);
    ASSERT_TRUE(sim.Ready());
    int fds[2] = {-1, -1};
    if (ending == 4) { // a reader that stopped: a pipe already full that nobody reads
        ASSERT_EQ(::pipe2(fds, O_CLOEXEC | O_NONBLOCK), 0);
        while (::write(fds[1], imageBytes.constData(), size_t(imageBytes.size())) > 0 || ::write(fds[1], "x", 1) > 0) {
        }
        ASSERT_EQ(::fcntl(fds[1], F_SETFL, 0), 0);
    }
    SpawnedUpdater updater(args, fds[1]);
    ::close(fds[1]);
    ASSERT_TRUE(updater.Started());
    // The moment: once this many records are in, or the run has ended by itself.
    TestSupport::WaitUntil([&] { return Read(dir + "/log.jsonl").count("\"run\"") >= moment; }, 10000);
    const int endings[] = {SIGKILL, SIGINT, SIGINT, SIGTERM, SIGTERM};
    for (int i = 0; i < (ending == 2 ? 2 : 1); ++i)
        updater.Signal(endings[ending]);
    ASSERT_TRUE(updater.Wait(20000)) << "did not end; ending " << ending;
    ::close(fds[0]);
    const QByteArray log = Read(dir + "/log.jsonl"), list = Read(dir + "/failed.txt");
    // SIGKILL alone may cut the one record it came during: the kernel may end a write at a page.
    const bool torn = ending == 0 && !log.endsWith('\n');
    EXPECT_TRUE(log.startsWith(oldRecord) && (log.endsWith('\n') || torn)) << log.constData();
    QSet<QString> logged, updated;
    for (const QByteArray& line : log.left(torn ? log.lastIndexOf('\n') + 1 : log.size()).mid(oldRecord.size()).split('\n')) {
        const QJsonObject record = QJsonDocument::fromJson(line).object();
        EXPECT_TRUE(!record.isEmpty() || line.isEmpty()) << line.constData();
        const QString radio = record.value("radio").toString();
        EXPECT_FALSE(logged.contains(radio)) << "named twice: " << qPrintable(radio);
        logged << radio;
        if (record.value("state") == "updated") {
            updated << radio;
            EXPECT_EQ(Read(dir + u'/' + radio + ".saved"), imageBytes) << qPrintable(radio);
        }
    }
    logged.remove(QString());
    // The list: the old one, or a whole new one naming each radio not updated once.
    if (list != oldList) {
        EXPECT_TRUE(list.startsWith("# not updated by zerlind-firm-update ") && list.endsWith('\n')) << list.constData();
        QSet<QString> named;
        for (const QByteArray& line : list.split('\n').mid(1, list.count('\n') - 1)) {
            const QString radio = QString::fromUtf8(line.left(line.indexOf(' ')));
            EXPECT_TRUE(!named.contains(radio) && !updated.contains(radio) && args.contains(radio)) << line.constData();
            named << radio;
        }
        EXPECT_EQ(named.size() + updated.size(), radios) << list.constData();
    }
    // Only SIGKILL may leave a radio without its record; an interrupt before the run leaves none.
    EXPECT_TRUE(ending == 0 || logged.size() == radios || (logged.isEmpty() && list == oldList))
        << logged.size() << " of " << radios << ", ending " << ending;
}

TEST(RecordsTorture, RandomFleetsEndedAtRandomMomentsLeaveTrueRecords)
{
    const QByteArray replay = qgetenv("RECORDS_SEED");
    if (!replay.isEmpty())
        return TortureCase(replay.toUInt(), 0);
    // RECORDS_CASES=N for a longer run (at most 256: a /24 each).
    const int cases = qBound(1, qEnvironmentVariableIsSet("RECORDS_CASES") ? qEnvironmentVariableIntValue("RECORDS_CASES") : CASES, 256);
    // The same fleets each run, so the suite never fails by chance; RECORDS_BASE=N draws others.
    const quint32 base = qEnvironmentVariableIsSet("RECORDS_BASE") ? qEnvironmentVariable("RECORDS_BASE").toUInt() : 20261210u;
    std::cout << "RecordsTorture: seeds " << base << " to " << base + quint32(cases) - 1 << " (RECORDS_SEED=N replays one)\n";
    for (int i = 0; i < cases && !HasFatalFailure(); ++i)
        TortureCase(base + quint32(i), i);
}

} // namespace
