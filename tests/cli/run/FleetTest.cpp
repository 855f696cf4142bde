// zerlind-firm-update with several radios against one multi-radio zerlind-radio-sim: the
// per-radio texts and the summary, the exit status, the jobs limit, JSON Lines, radios refused
// before anything is sent, the check and the scan that send nothing, interrupts that end by
// their signal, and a reader that lags. Radios live on 127.0.4.0/24, which no other test uses,
// each test on addresses of its own (the scans' networks, .48/28 and .96/28, hold no other
// test's radios), so that tests may run at once.
#include "common/RadioSimProcess.h"
#include "common/TestSupport.h"
#include "common/UpdaterProcess.h"

#include "base/MessageCatalog.h"
#include "base/Platform.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QThread>
#include <gtest/gtest.h>

#ifdef Q_OS_UNIX
#include "common/SpawnedUpdater.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>
#endif

namespace {

QString Radio(int lastOctet)
{
    return QStringLiteral("127.0.4.%1").arg(lastOctet);
}

QStringList Radios(int first, int count)
{
    QStringList radios;
    for (int i = 0; i < count; ++i)
        radios << Radio(first + i);
    return radios;
}

// The lines of `text` that start with "RADIO: ", without that prefix.
QStringList LinesOf(const QString& text, const QString& radio)
{
    QStringList lines;
    for (const QString& line : text.split(u'\n')) {
        if (line.startsWith(radio + QStringLiteral(": ")))
            lines << line.mid(radio.size() + 2);
    }
    return lines;
}

QStringList TextLines(std::initializer_list<quint16> ids)
{
    QStringList lines;
    for (quint16 id : ids)
        lines += LoadText(id, LanguageEnglishUs).split(QStringLiteral("\r\n"));
    return lines;
}

// The summary table's row of `radio`: state, exit status, seconds, message, as fields.
QStringList SummaryRow(const QString& out, const QString& radio)
{
    const QString table = out.section(QStringLiteral("\nradio "), 1);
    for (const QString& line : table.split(u'\n')) {
        if (line.startsWith(radio + u' ')) {
            const QStringList words = line.mid(radio.size()).simplified().split(u' ');
            return words.mid(0, 3) << words.mid(3).join(u' ');
        }
    }
    return {};
}

QList<QJsonObject> JsonEvents(const QString& out)
{
    QList<QJsonObject> events;
    for (const QString& line : out.split(u'\n', Qt::SkipEmptyParts)) {
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(line.toUtf8(), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << qPrintable(line);
        EXPECT_EQ(doc.object().keys(), DocumentedKeys(doc.object())) << qPrintable(line);
        events << doc.object();
    }
    return events;
}

QString WriteList(const QString& name, const QByteArray& text)
{
    const QString path = TestSupport::ScratchDir() + u'/' + name;
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    return path;
}

// As Windows PowerShell 5.1 saves a list: UTF-16 with a byte-order mark.
QByteArray Utf16(QStringConverter::Encoding encoding, const QString& text)
{
    return QStringEncoder(encoding, QStringConverter::Flag::WriteBom).encode(text);
}

TEST(Fleet, EightRadiosTwoFaultyWithThreeJobs)
{
    // .12 refuses the program command, .15 falls silent in the transfer; the rest take the image.
    const QStringList radios = Radios(10, 8);
    RadioSimProcess sim(radios.first() + u'-' + radios.last(),
                        {"--program-delay", "200", "--refuse", Radio(12) + "/program", "--silent", Radio(15) + "/data:3"});
    ASSERT_TRUE(sim.Ready());
    const QString path = TestSupport::WriteRandomFile("fleet.dat", 20 * 1024 + 5);
    const UpdaterOutcome o = RunUpdater(QStringList{"--jobs", "3", "--transfer-timeout", "300", path} + radios);

    EXPECT_EQ(o.exitCode, 6); // the status of .12, the first radio in list order not updated
    const QStringList updatedLines = TextLines({1309, 1300, 1302, 1303, 1304, 1301, 1305});
    for (const QString& radio : radios) {
        SCOPED_TRACE(radio.toStdString());
        if (radio == Radio(12)) {
            EXPECT_EQ(LinesOf(o.out, radio), TextLines({1309, 1300, 1302, 1303, 1304, 1301}));
            EXPECT_EQ(LinesOf(o.err, radio), TextLines({IDS_ERR_ILLEGAL_DATA}));
            const QStringList row = SummaryRow(o.out, radio);
            ASSERT_EQ(row.size(), 4) << qPrintable(o.out);
            EXPECT_EQ(row[0], "failed");
            EXPECT_EQ(row[1], "6");
            EXPECT_EQ(row[3], LoadText(IDS_ERR_ILLEGAL_DATA, LanguageEnglishUs).replace("\r\n", " "));
        } else if (radio == Radio(15)) {
            EXPECT_EQ(LinesOf(o.out, radio), TextLines({1309, 1300, 1302}));
            EXPECT_EQ(LinesOf(o.err, radio), TextLines({IDS_ERR_TRANSFER}));
            EXPECT_EQ(SummaryRow(o.out, radio).mid(0, 2), QStringList({"failed", "5"}));
        } else {
            EXPECT_EQ(LinesOf(o.out, radio), updatedLines);
            EXPECT_EQ(LinesOf(o.err, radio), QStringList());
            EXPECT_EQ(SummaryRow(o.out, radio).mid(0, 2), QStringList({"updated", "0"})) << qPrintable(o.out);
        }
    }
    EXPECT_TRUE(o.out.endsWith("\n8 radios: 6 updated, 2 failed\n")) << qPrintable(o.out);

    const auto sessions = sim.Sessions();
    ASSERT_EQ(sessions.size(), 8) << qPrintable(o.out);
    int programmed = 0;
    int peak = 0;
    for (const auto& session : sessions) {
        if (session.value("outcome") == "programmed") {
            ++programmed;
            EXPECT_EQ(session.value("sha256"), TestSupport::FileSha256(path));
        }
        peak = qMax(peak, session.value("peak").toInt());
    }
    EXPECT_EQ(programmed, 6);
    EXPECT_EQ(sessions.value(Radio(12)).value("outcome"), "refused");
    // Three at once at most, and more than one: the jobs really overlap.
    EXPECT_LE(peak, 3);
    EXPECT_GE(peak, 2);
}

TEST(Fleet, JsonLinesTimedAndComplete)
{
    RadioSimProcess sim(Radio(30));
    ASSERT_TRUE(sim.Ready());
    // 300 KiB is a whole number of blocks, where the last figure used to go out twice. .31 has
    // no radio: the connection is refused at once.
    const QString path = TestSupport::WriteRandomFile("json.dat", 300 * 1024);
    const UpdaterOutcome o = RunUpdater({"--json", path, Radio(30), Radio(31)});
    EXPECT_EQ(o.exitCode, 4) << qPrintable(o.err);
    EXPECT_EQ(LinesOf(o.err, Radio(31)), TextLines({IDS_ERR_NOT_FOUND})); // stderr as well

    const QRegularExpression rfc3339(QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}Z$"));
    QMap<QString, QMap<QString, int>> counts; // radio -> event -> how many
    int lastFigures = 0;
    const QList<QJsonObject> events = JsonEvents(o.out);
    ASSERT_FALSE(events.isEmpty());
    for (const QJsonObject& event : events) {
        EXPECT_TRUE(rfc3339.match(event.value("time").toString()).hasMatch()) << qPrintable(event.value("time").toString());
        const QString kind = event.value("event").toString();
        ++counts[event.value("radio").toString()][kind];
        if (kind == "progress") {
            EXPECT_LE(event.value("bytes").toInteger(), event.value("total").toInteger());
            lastFigures += event.value("bytes") == event.value("total") ? 1 : 0;
        }
        if (kind == "result") {
            const bool updated = event.value("radio") == Radio(30);
            EXPECT_EQ(event.keys(), QStringList({"address", "attempts", "bytes", "event", "exit", "radio", "seconds",
                                                 "sha256", "state", "text", "time"}));
            EXPECT_EQ(event.value("attempts"), 1);
            EXPECT_EQ(event.value("state").toString(), updated ? "updated" : "failed");
            EXPECT_EQ(event.value("exit").toInt(), updated ? 0 : 4);
            EXPECT_EQ(event.value("bytes").toInteger(), updated ? 300 * 1024 : 0);
            EXPECT_EQ(event.value("sha256").toString(), TestSupport::FileSha256(path));
            EXPECT_EQ(event.value("text").toString().isEmpty(), updated);
        }
    }
    EXPECT_EQ(counts[Radio(30)]["status"], 7);
    EXPECT_EQ(lastFigures, 1);
    EXPECT_EQ(counts[Radio(30)]["result"], 1);
    EXPECT_EQ(counts[Radio(31)]["status"], 1);
    EXPECT_EQ(counts[Radio(31)]["result"], 1);
    QJsonObject last = events.last();
    last.remove("time");
    EXPECT_EQ(last, (QJsonObject{{"event", "summary"}, {"radios", 2}, {"updated", 1}, {"failed", 1}, {"not-started", 0},
                                 {"interrupted", 0}, {"unknown", 0}, {"exit", 4}}));
    EXPECT_EQ(sim.Summary().value("outcome"), "programmed");

    // A refusal before the run is an event too.
    const UpdaterOutcome missing = RunUpdater({"--json", TestSupport::ScratchDir() + "/nosuch.dat", Radio(31)});
    EXPECT_EQ(missing.exitCode, 3);
    const QList<QJsonObject> error = JsonEvents(missing.out);
    ASSERT_EQ(error.size(), 1);
    EXPECT_EQ(error[0].value("event"), "error");
    EXPECT_EQ(error[0].value("exit"), 3);
    QString reason; // the system's own words
    ASSERT_TRUE(Platform::SystemErrorText(Platform::kErrorFileNotFound, Platform::SystemTextLanguage::English, reason));
    EXPECT_EQ(error[0].value("text"), TestSupport::ScratchDir() + "/nosuch.dat: " + reason.trimmed());
}

TEST(Fleet, RadiosRefusedBeforeAnythingIsSent)
{
    // Every refused text below, read the way the system's parser reads numbers, or by its
    // mistaken line, names the one radio here, 127.0.4.130: its session counter shows whether any
    // of them reached it.
    RadioSimProcess sim(Radio(130), {"--program-delay", "0"});
    ASSERT_TRUE(sim.Ready());
    const QString path = TestSupport::WriteRandomFile("refused.dat", 2048);
    const QString shortFile = WriteList("short.dat", QByteArray(1000, 'x'));
    const struct {
        QStringList args;
        std::string err; // what stderr holds
    } cases[] = {
        // Address forms the system would read as another address, in both forms.
        {{path, "127.0.4.0202"}, "not a radio address: '127.0.4.0202'"},
        {{path, "127.0.4.0202", Radio(131)}, "not a radio address: '127.0.4.0202'"},
        {{path, "0x7f.0.4.130"}, "not a radio address: '0x7f.0.4.130'"},
        {{"--jobs", "2", path, "127.1154"}, "not a radio address: '127.1154'"},
        {{path, "2130707586"}, "not a radio address: '2130707586'"},
        {{path, "127.0.4.130:0"}, "bad port '0'"},
        {{"--scan", "127.0.4.0202/32"}, "bad value for --scan: '127.0.4.0202/32'"},
        {{"--canary", "2", path, Radio(130), Radio(131)}, "--canary 2 is not fewer than the 2 radios of the run"},
        // Radio lists: the file and line of the first bad line.
        {{"--radios", WriteList("two.txt", "# ok\n127.0.4.130 127.0.4.131\n"), path}, "two.txt:2: not a radio address: '127.0.4.130 127.0.4.131'"},
        {{"--radios", WriteList("semi.txt", "\xEF\xBB\xBF" "127.0.4.131\r\n\r\n127.0.4.130;\r\n"), path},
         "semi.txt:3: not a radio address: '127.0.4.130;'"},
#ifndef Q_OS_WIN // where it is read in the system's ANSI code page
        {{"--radios", WriteList("latin1.txt", "# B\xFChne 2\n127.0.4.131\n"), path}, "latin1.txt: the list is neither UTF-8 nor UTF-16 with a byte-order mark"},
#endif
        {{"--radios", WriteList("ok.txt", "127.0.4.131 # the van\n"), "--radios", WriteList("words.txt", "\t# a comment\nradio ten\n"), path},
         "words.txt:2: not a radio address: 'radio ten'"},
        // One radio named twice: the same text, the same address with its port, IPv4 as IPv6.
        {{path, Radio(130), Radio(130)}, "radio listed twice"},
        {{path, Radio(130), Radio(130) + ":1111"}, "radio listed twice"},
        {{path, "[::ffff:127.0.4.130]:1111", Radio(130)}, "radio listed twice"},
        {{path, Radio(130), Radio(130)}, "at ADDRESS 1 of the command line and at ADDRESS 2 of the command line"},
        {{"--radios", WriteList("twice.txt", "127.0.4.130\n"), "--radios", WriteList("twice.txt", "127.0.4.130\n"), path}, "twice.txt given twice"},
        {{"--deadline", "9999-01-01T00:00:00Z", path, Radio(130)}, "--deadline 9999-01-01T00:00:00.000Z is more than a week away"},
        // A list an earlier run left empty: nothing beside it goes, and a check still checks the file.
        {{"--radios", WriteList("done.txt", "# not updated by zerlind-firm-update 1.0\n"), path, Radio(130)}, "done.txt holds no radio"},
        {{"--check", "--radios", WriteList("done.txt", "# not updated by zerlind-firm-update 1.0\n"), shortFile}, "short.dat: 1000 bytes"},
        {{"--radios", WriteList("dup.txt", "127.0.4.130\n"), path, Radio(130)}, "radio listed twice: '127.0.4.130' at "},
        {{"--radios", WriteList("dup2.txt", "# van\n[::ffff:127.0.4.130]\n"), "--radios", WriteList("dup3.txt", "127.0.4.130\n"), path},
         "dup2.txt:2 and '127.0.4.130' at "},
        // What a list holds is shown, never passed to the terminal: control bytes quoted, a
        // long line cut.
        {{"--radios", WriteList("esc.txt", "127.0.4.13\x1b[2J\n"), path}, "esc.txt:1: not a radio address: '127.0.4.13\\x1b[2J'"},
        {{"--radios", WriteList("osc.txt", "\x1b]0;owned\x07\n"), path}, "not a radio address: '\\x1b]0;owned\\x07'"},
        {{"--radios", WriteList("zero-byte.txt", QByteArray("127.0.4.130\0\n", 13)), path}, "not a radio address: '127.0.4.130\\0'"},
        {{"--radios", WriteList("long.txt", QByteArray(1 << 20, 'a')), path},
         "not a radio address: '" + std::string(79, 'a') + "\u2026' ("},
        // The records a run leaves must be writable before it starts.
        {{"--log", path + "/books.jsonl", path, Radio(130)}, "books.jsonl: cannot create the folder"},
        {{"--failed", path + "/again.txt", path, Radio(130)}, "again.txt: "},
        // The file: named, with what is wrong with it.
        {{"--check", shortFile, Radio(130)}, "short.dat: 1000 bytes, too short for a firmware image (at least 1024)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const UpdaterOutcome o = RunUpdater(c.args);
        EXPECT_EQ(o.exitCode, c.err.find("short.dat") != std::string::npos ? 3 : 2);
        EXPECT_TRUE(o.err.startsWith("zerlind-firm-update: ")) << qPrintable(o.err);
        EXPECT_TRUE(o.err.contains(QString::fromStdString(c.err))) << qPrintable(o.err);
        EXPECT_LT(o.err.size(), 800);
        EXPECT_FALSE(o.err.contains(QChar(0x1b)) || o.err.contains(QChar(0)));
        EXPECT_FALSE(o.err.contains("--help")) << qPrintable(o.err);
    }
    // A port of its own is kept, the quotes and blanks a paste brings are not, and the radio is
    // still the one named.
    EXPECT_EQ(RunUpdater({'"' + path + '"', ' ' + Radio(130) + ":1111 "}).exitCode, 0);
    EXPECT_EQ(sim.Summary().value("session"), "1");
}

TEST(Fleet, CheckSaysWhyAndScanCounts)
{
    RadioSimProcess sim(Radio(40));
    ASSERT_TRUE(sim.Ready());
    const QString path = TestSupport::WriteRandomFile("check.dat", 3000);
    const QString list = WriteList("radios.txt", Utf16(QStringConverter::Utf16LE, "# the bench\n\n  " + Radio(40) + "  \n"));

    // The check: the file's facts, then each radio reached or not and why; .41 has no radio.
    const UpdaterOutcome o = RunUpdater({"--check", "--radios", list, path, Radio(41)});
    EXPECT_EQ(o.exitCode, 4);
    EXPECT_TRUE(o.out.contains(QStringLiteral("3000 bytes, 3 blocks, SHA-256 %1").arg(TestSupport::FileSha256(path))))
        << qPrintable(o.out);
    EXPECT_TRUE(o.out.contains(Radio(40) + ": reachable\n"));
    EXPECT_TRUE(o.out.contains(Radio(41) + ": not reachable (refused)\n"));
    EXPECT_TRUE(o.out.endsWith("1 of 2 radios reachable; not reachable: " + Radio(41) + "\n")) << qPrintable(o.out);
    // The same as JSON, the list on standard input.
    const QList<QJsonObject> checked = JsonEvents(
        RunUpdater({"--check", "--json", "--radios", "-", path}, {}, Utf16(QStringConverter::Utf16BE, "# the bench\r\n\t127.0.4.41\t# spare\r\n")).out);
    ASSERT_EQ(checked.size(), 3);
    EXPECT_EQ(checked[1].value("reason"), "refused");
    EXPECT_EQ(checked[2].value("unreachable"), QJsonArray({Radio(41)}));
    // The simulator's one session is the check's: nothing before it, no request in it.
    const auto summary = sim.Summary();
    EXPECT_EQ(summary.value("session"), "1");
    EXPECT_EQ(summary.value("requests"), "0");

    RadioSimProcess scanned(Radio(50), {"--listen", Radio(53), "--listen", Radio(61)});
    ASSERT_TRUE(scanned.Ready());
    UpdaterOutcome s = RunUpdater({"--scan", "127.0.4.48/28"});
    EXPECT_EQ(s.exitCode, 0);
    EXPECT_EQ(s.out, QStringList({Radio(50), Radio(53), Radio(61), ""}).join(u'\n'));
    EXPECT_EQ(s.err, "scanned 14 addresses, found 3 radios\n");
    for (const auto& session : scanned.Sessions())
        EXPECT_EQ(session.value("requests"), "0");

    s = RunUpdater({"--scan", "127.0.4.96/28", "--json"}); // no radio there
    EXPECT_EQ(s.exitCode, 4);
    const QList<QJsonObject> events = JsonEvents(s.out);
    ASSERT_EQ(events.size(), 1);
    EXPECT_EQ(events[0].value("event"), "summary");
    EXPECT_EQ(events[0].value("scanned"), 14);
    EXPECT_EQ(events[0].value("found"), 0);
}

// The status is that of the first radio in list order that was not updated, whichever failed
// first: here the second radio is refused at once, the first only after it programmed.
TEST(Fleet, StatusIsTheFirstInListOrder)
{
    RadioSimProcess sim(Radio(120), {"--program-delay", "300", "--refuse", Radio(120) + "/program"});
    ASSERT_TRUE(sim.Ready());
    const UpdaterOutcome o = RunUpdater({TestSupport::WriteRandomFile("order.dat", 2048), Radio(120), Radio(121)});
    EXPECT_EQ(o.exitCode, 6);
    EXPECT_EQ(sim.Summary().value("outcome"), "refused");
}

// Signals and a pipe that stalls are a POSIX shell's; a Windows console's interrupts are
// events of its own.
#ifdef Q_OS_UNIX
// A run interrupted by a signal ends by that signal after its clean-up and its files, so that a
// calling shell sees 130, 143 or 129 and stops its loop; a radio that is programming is waited
// for until a second signal. A radio that never started has no status of its own.
TEST(Fleet, InterruptsEndByTheirSignal)
{
    const quint16 transferLine = 1302;
    const struct {
        bool fleet;
        int signal;
        int count;           // signals sent
        quint16 when;        // once the running radios have shown this status line
        const char* state;   // what the running radios end as
        const char* again;   // how the note says to repeat the interrupt
    } cases[] = {
        {true, SIGINT, 1, IDS_STATUS_WAIT, "updated", "Ctrl-C"},
        {true, SIGTERM, 2, IDS_STATUS_WAIT, "unknown", "SIGTERM"},
        {true, SIGHUP, 1, IDS_STATUS_WAIT, "updated", "SIGHUP"},
        {true, SIGHUP, 1, transferLine, "interrupted", nullptr},
        {false, SIGTERM, 1, IDS_STATUS_WAIT, "updated", "SIGTERM"},
        {false, SIGINT, 2, IDS_STATUS_WAIT, "unknown", "Ctrl-C"},
    };
    int base = 70;
    const QString failed = TestSupport::ScratchDir() + "/interrupted.txt";
    const QString log = TestSupport::ScratchDir() + "/interrupted.jsonl";
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.signal) + " x" + std::to_string(c.count) + (c.fleet ? " fleet" : " single") + " at "
                     + std::to_string(c.when));
        // Two radios program (or take the image slowly) for a while, two more wait their turn.
        const QStringList radios = Radios(base, c.fleet ? 4 : 1);
        base += 4;
        RadioSimProcess sim(radios.first() + u'-' + radios.last(), {"--program-delay", "1500", "--slow", "data=200"});
        ASSERT_TRUE(sim.Ready());
        QFile::remove(log);
        SpawnedUpdater updater((c.fleet ? QStringList{"--jobs", "2", "--failed", failed, "--log", log} : QStringList())
                               << TestSupport::WriteRandomFile("int.dat", 8192) << radios);
        ASSERT_TRUE(updater.Started());
        const QString line = LoadText(c.when, LanguageEnglishUs);
        ASSERT_TRUE(TestSupport::WaitUntil([&] { return updater.Out().count(line) == qMin(2, int(radios.size())); }, 10000))
            << qPrintable(updater.Out());
        const QString note = c.fleet ? "2 radios are programming; do not switch them off; %1 again to stop waiting"
                                     : "1 radio is programming; do not switch it off; %1 again to stop waiting";
        for (int i = 0; i < c.count; ++i) {
            // Two signals at once would be one (the system keeps only one pending): a second goes
            // once the first has been taken, as its note says.
            if (i > 0) {
                ASSERT_TRUE(TestSupport::WaitUntil([&] { return updater.Err().contains(note.arg(c.again)); }, 10000))
                    << qPrintable(updater.Err());
            }
            updater.Signal(c.signal);
        }
        ASSERT_TRUE(updater.Wait(10000));
        EXPECT_EQ(updater.TermSignal(), c.signal);
        EXPECT_EQ(updater.Err().contains(note.arg(c.again)), c.again != nullptr) << qPrintable(updater.Err());
        const bool updated = QLatin1String(c.state) == QLatin1String("updated");
        if (c.fleet) {
            const QString out = updater.Out();
            for (int i = 0; i < radios.size(); ++i) {
                const QStringList row = SummaryRow(out, radios[i]);
                ASSERT_GE(row.size(), 2) << qPrintable(out);
                EXPECT_EQ(row[0], i < 2 ? c.state : "not-started") << qPrintable(out);
                EXPECT_EQ(row[1], i >= 2 ? "-" : updated ? "0" : QString::number(128 + c.signal));
            }
            // Both files, whatever the signal: the radios not updated, and a record of each radio.
            QFile list(failed);
            ASSERT_TRUE(list.open(QIODevice::ReadOnly));
            EXPECT_EQ(QString::fromUtf8(list.readAll()).count(u'\n'), updated ? 3 : 5);
            QFile records(log);
            ASSERT_TRUE(records.open(QIODevice::ReadOnly));
            EXPECT_EQ(QString::fromUtf8(records.readAll()).count("\"exit\":null"), 2);
        } else {
            EXPECT_EQ(updater.Out().contains(LoadText(IDS_STATUS_UPDATED, LanguageEnglishUs)), updated);
            EXPECT_EQ(updater.Err().contains(radios[0] + ": may still be programming"), QLatin1String(c.state) == QLatin1String("unknown"));
        }
    }
}

// The radios never wait on output: a reader that takes nothing for five seconds holds up the
// lines, not the sessions, and then gets every one of them.
TEST(Fleet, AReaderThatLagsHoldsUpNoRadio)
{
    const QStringList radios = Radios(140, 4);
    RadioSimProcess sim(radios.first() + u'-' + radios.last(), {"--program-delay", "100"});
    ASSERT_TRUE(sim.Ready());
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    // The pipe is full before the updater writes a byte: its first line already has to wait.
    fcntl(fds[1], F_SETPIPE_SZ, 4096);
    fcntl(fds[1], F_SETFL, fcntl(fds[1], F_GETFL) | O_NONBLOCK);
    const QByteArray filler(4096, '#');
    int filled = 0;
    for (ssize_t n; (n = write(fds[1], filler.constData(), size_t(filler.size()))) > 0;)
        filled += int(n);
    fcntl(fds[1], F_SETFL, fcntl(fds[1], F_GETFL) & ~O_NONBLOCK);
    SpawnedUpdater updater(QStringList{"--json", "--jobs", "4", TestSupport::WriteRandomFile("lag.dat", 64 * 1024)} + radios,
                           fds[1]);
    close(fds[1]);
    ASSERT_TRUE(updater.Started());
    QThread::sleep(5);
    QByteArray out;
    char buffer[4096];
    for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;)
        out.append(buffer, int(n));
    close(fds[0]);
    ASSERT_TRUE(updater.Wait(10000));
    EXPECT_EQ(updater.ExitCode(), 0) << qPrintable(updater.Err());

    const QList<QJsonObject> events = JsonEvents(QString::fromUtf8(out.mid(filled)));
    int results = 0;
    for (const QJsonObject& event : events) {
        if (event.value("event") != "result")
            continue;
        ++results;
        EXPECT_EQ(event.value("state"), "updated");
        // Each radio's own clock: the five seconds of the reader are not in it.
        EXPECT_LT(event.value("seconds").toDouble(), 4.0) << event.value("radio").toString().toStdString();
    }
    EXPECT_EQ(results, 4);
    EXPECT_EQ(events.last().value("event"), "summary");
    const auto sessions = sim.Sessions();
    for (const QString& radio : radios)
        EXPECT_EQ(sessions.value(radio).value("outcome"), "programmed");
}

#endif // Q_OS_UNIX

} // namespace
