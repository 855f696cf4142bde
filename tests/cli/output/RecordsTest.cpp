// The files a fleet run leaves (--failed, --log): where they may go, and what the list to run
// again holds so that the next run reaches the same radios. Radios on 127.0.6.0/24.
#include "common/RadioSimProcess.h"
#include "common/TestSupport.h"
#include "common/SpawnedUpdater.h"
#include "common/UpdaterProcess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include <csignal>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

QString Read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QByteArray Bytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString Write(const QString& name, const QByteArray& text)
{
    QFile file(TestSupport::ScratchDir() + u'/' + name);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size());
    return file.fileName();
}

// The kind and identity of a node, to see it untouched.
std::pair<mode_t, ino_t> Node(const QString& path)
{
    struct stat st {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0) << qPrintable(path);
    return {st.st_mode & S_IFMT, st.st_ino};
}

// Device nodes of the test's own, so a slip that wrote over one cannot replace the machine's;
// only root may make them, and only root could harm those in /dev.
QString DeviceNode(const char* name, unsigned minor)
{
    const QString path = TestSupport::ScratchDir() + "/dev-" + name;
    QFile::remove(path);
    const bool made = ::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0666, makedev(1, minor)) == 0;
    return made ? path : QStringLiteral("/dev/") + name;
}

// Anything but a regular file, or the radio list the run reads, is a bad command line: refused
// before the radio sees a session, and left as it was; a named pipe without a reader blocks nothing.
TEST(Records, BadPathsAreRefusedBeforeAnythingIsSent)
{
    RadioSimProcess sim("127.0.6.10");
    ASSERT_TRUE(sim.Ready());
    const QString image = TestSupport::WriteRandomFile("records.dat", 2048);
    const QByteArray listText = "# the club's radios\n127.0.6.10\n";
    const QString list = Write("club.txt", listText);
    const QString fifo = TestSupport::ScratchDir() + "/fifo";
    QFile::remove(fifo);
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // The list by another name is still the list.
    const QStringList paths{DeviceNode("null", 3), DeviceNode("full", 7), fifo, TestSupport::ScratchDir(), TestSupport::ScratchDir() + "/./club.txt"};
    QList<std::pair<mode_t, ino_t>> before;
    std::transform(paths.begin(), paths.end(), std::back_inserter(before), Node);
    for (const char* option : {"--failed", "--log"}) {
        for (const QString& path : paths) {
            SCOPED_TRACE((option + (u' ' + path)).toStdString());
            const UpdaterOutcome o = RunUpdater({"--radios", list, option, path, image});
            EXPECT_EQ(o.exitCode, 2) << qPrintable(o.err);
            EXPECT_TRUE(o.err.startsWith(QStringLiteral("zerlind-firm-update: %1 %2: ").arg(option, path))) << qPrintable(o.err);
        }
    }
    for (int i = 0; i < paths.size(); ++i)
        EXPECT_EQ(Node(paths[i]), before[i]) << qPrintable(paths[i]);
    EXPECT_EQ(Read(list), QString::fromUtf8(listText));
    EXPECT_EQ(sim.SessionsSoFar(300), 0);
}

// A radio on a port of its own is written with it, to the list and to the log, so that the list
// fed back reaches it without --port; a list left with no radio is nothing left to do.
TEST(Records, TheListToRunAgainReachesTheSameRadios)
{
    const QString image = TestSupport::WriteRandomFile("port.dat", 2048);
    const QString failed = TestSupport::ScratchDir() + "/port-failed.txt";
    const QString again = TestSupport::ScratchDir() + "/port-again.txt";
    const QString log = TestSupport::ScratchDir() + "/port.jsonl";
    QFile::remove(log);
    {
        RadioSimProcess sim("127.0.6.20:2000", {"--refuse", "program"});
        ASSERT_TRUE(sim.Ready());
        // The file as a path relative to where the updater runs: the log says where it is.
        const UpdaterOutcome o = RunUpdater({"--port", "2000", "--failed", failed, "--log", log,
                                             QDir::current().relativeFilePath(image), "127.0.6.20", "127.0.6.21:2001"});
        EXPECT_EQ(o.exitCode, 6) << qPrintable(o.err);
    }
    const QStringList lines = Read(failed).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[1].startsWith("127.0.6.20:2000  # failed: ")) << qPrintable(lines[1]);
    EXPECT_TRUE(lines[2].startsWith("127.0.6.21:2001  # failed: ")) << qPrintable(lines[2]);
    QStringList addresses;
    for (const QString& line : Read(log).split(u'\n', Qt::SkipEmptyParts)) {
        const QJsonObject record = QJsonDocument::fromJson(line.toUtf8()).object();
        addresses << record.value("address").toString();
        EXPECT_EQ(record.value("file").toString(), image);
    }
    addresses.sort();
    EXPECT_EQ(addresses, QStringList({"127.0.6.20:2000", "127.0.6.21:2001"}));

    Write("port-failed.txt", lines[0].toUtf8() + '\n' + lines[1].toUtf8() + '\n');
    {
        RadioSimProcess sim("127.0.6.20:2000");
        ASSERT_TRUE(sim.Ready());
        // In Japanese: the list it leaves is known as one a run wrote whatever language wrote it.
        const UpdaterOutcome o = RunUpdater({"--lang", "ja", "--radios", failed, "--failed", again, image});
        EXPECT_EQ(o.exitCode, 0) << qPrintable(o.err);
        EXPECT_EQ(sim.Summary().value("outcome"), "programmed");
    }
    // Nothing left: the list it writes is empty too, in place of the old one, with its mode.
    ASSERT_EQ(::chmod(QFile::encodeName(failed).constData(), 0640), 0);
    const UpdaterOutcome o = RunUpdater({"--radios", again, "--failed", failed, image});
    EXPECT_EQ(o.exitCode, 0);
    EXPECT_EQ(o.err, "zerlind-firm-update: nothing left to do: " + again + " holds no radio\n");
    EXPECT_EQ(Read(failed).count(u'\n'), 1) << qPrintable(Read(failed));
    EXPECT_TRUE(Read(failed).startsWith("# not updated by zerlind-firm-update ")) << qPrintable(Read(failed));
    struct stat st {};
    EXPECT_TRUE(::stat(QFile::encodeName(failed).constData(), &st) == 0 && (st.st_mode & 07777) == 0640);
    // The same list read once, on standard input or through a pipe, tells the same.
    EXPECT_EQ(RunUpdater({"--radios", "-", image}, {}, Bytes(again)).exitCode, 0);
    QProcess piped;
    piped.start("bash", {"-c", "exec \"$0\" --radios <(cat \"$1\") \"$2\"", ZFU_BIN_DIR "/zerlind-firm-update", again, image});
    ASSERT_TRUE(piped.waitForFinished(20000));
    EXPECT_EQ(piped.exitCode(), 0) << piped.readAllStandardError().constData();
}

// Standard output gone full or closed stops the run as a first interrupt would: no radio starts
// after it, the run says why and ends with status 9.
TEST(Records, AnOutputThatCannotBeWrittenStopsTheRun)
{
    const QString image = TestSupport::WriteRandomFile("output.dat", 8192);
    for (const bool full : {true, false}) {
        SCOPED_TRACE(full ? "/dev/full" : "a reader that goes after one line");
        const QString first = full ? "127.0.6.30" : "127.0.6.40";
        const QStringList radios{first, first.chopped(1) + '1', first.chopped(1) + '2'};
        RadioSimProcess sim(radios.first() + u'-' + radios.last(), {"--program-delay", "300"});
        ASSERT_TRUE(sim.Ready());
        int fds[2] = {-1, -1};
        if (full)
            fds[1] = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
        else
            ASSERT_EQ(::pipe2(fds, O_CLOEXEC), 0); // the updater must not hold the reading end itself
        const QString log = TestSupport::ScratchDir() + (full ? "/output-full.jsonl" : "/output-gone.jsonl");
        QFile::remove(log);
        SpawnedUpdater updater(QStringList{"--json", "--jobs", "1", "--log", log, image} + radios, fds[1]);
        ::close(fds[1]);
        ASSERT_TRUE(updater.Started());
        if (!full) {
            char c = 0;
            while (::read(fds[0], &c, 1) == 1 && c != '\n') {
            }
            ::close(fds[0]);
        }
        ASSERT_TRUE(updater.Wait(10000));
        EXPECT_EQ(updater.ExitCode(), 9) << qPrintable(updater.Err());
        EXPECT_TRUE(updater.Err().contains("no further radio starts")) << qPrintable(updater.Err());
        // The first radio may or may not have connected before the first line failed. A reader
        // that leaves is seen only at the next write, which may be the first radio's result, as
        // the second radio starts: one radio more may run then, never the last. The radios kept
        // from starting say why, and no signal's status is anyone's.
        const int mayRun = full ? 1 : 2;
        EXPECT_LE(sim.SessionsSoFar(300), mayRun);
        const QString records = Read(log);
        EXPECT_GE(records.count("\"state\":\"not-started\",\"text\":\"output closed\""), 3 - mayRun) << qPrintable(records);
        EXPECT_FALSE(records.contains("interrupted")) << qPrintable(records);
    }
}

// Each file has one role, by any of its names (no radio listens: a run that sent would end with
// 4). Refused alike by --plan and the run, as is a log whose folder cannot be made.
TEST(Records, OneFileHasOneRole)
{
    const QString dir = TestSupport::ScratchDir(), image = TestSupport::WriteRandomFile("roles.dat", 2048);
    const QString list = Write("roles.txt", "127.0.6.55\n"), log = Write("roles.jsonl", ""), made = dir + "/roles-new";
    for (const char* link : {"/roles-image", "/roles-log", "/roles-none"})
        QFile::remove(dir + link);
    ASSERT_TRUE(QFile::link(image, dir + "/roles-image") && QFile::link(log, dir + "/roles-log") && QFile::link(made, dir + "/roles-none"));
    const QByteArray imageBytes = Bytes(image);
    const QStringList cases[] = { // the options, then what is refused
        {"--failed", image, "--failed " + image + ": the same file as the firmware file " + image},
        {"--log", dir + "/roles-image", "--log " + dir + "/roles-image: the same file as the firmware file " + image},
        {"--radios", image, "--radios " + image + ": the same file as the firmware file " + image},
        {"--failed", log, "--log", dir + "/roles-log", "--log " + dir + "/roles-log: the same file as --failed " + log},
        {"--failed", made, "--log", dir + "/roles-none", "--log " + dir + "/roles-none: the same file as --failed " + made},
        {"--log", dir + "/./roles.txt", "--log " + dir + "/./roles.txt: the same file as the radio list " + list},
        {"--log", image + "/books.jsonl", image + "/books.jsonl: cannot create the folder " + image},
    };
    for (QStringList c : cases) {
        const QString refusal = c.takeLast();
        for (const QStringList& plan : {QStringList(), QStringList{"--plan"}}) {
            const UpdaterOutcome o = RunUpdater(QStringList{"--radios", list} + c + plan + QStringList{image});
            EXPECT_EQ(o.exitCode, 2) << qPrintable(c.join(u' '));
            EXPECT_EQ(o.err, "zerlind-firm-update: " + refusal + '\n');
        }
    }
    EXPECT_TRUE(Bytes(image) == imageBytes && Read(log).isEmpty() && !QFile::exists(made));
}

// A file is known by what the run opens: quotes around a path, links in its folders, link chains
// and /proc/self/fd all lead to one file. Each case alike as --plan and as a run; a link chain is
// written through to its end, and nothing is made before every check has passed. Radio 127.0.6.80.
TEST(Records, FilesAreKnownByWhatIsOpened)
{
    const QString s = TestSupport::ScratchDir() + "/ident", image = TestSupport::WriteRandomFile("ident.dat", 2048);
    QDir(s).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(s + "/d"));
    const QByteArray oldRecord = "{\"old\":1}\n";
    Write("ident/books.jsonl", oldRecord);
    const QStringList links{"dlink", "d", "c1", "c2", "c2", "books.jsonl", "f1", "f2", "f2", "failed.txt",
                            "into", "missing/x.jsonl", "loop1", "loop2", "loop2", "loop1"};
    for (int i = 0; i < links.size(); i += 2)
        ASSERT_TRUE(QFile::link(links[i + 1], s + u'/' + links[i]));
    const QString quoted = u'"' + image + u'"';
    struct Case {
        QStringList options;
        QString refusal; // empty: accepted
    } cases[] = {
        {{"--log", image, quoted}, "--log " + image + ": the same file as the firmware file " + image},
        {{"--failed", s + "/dlink/rec.txt", "--log", s + "/d/rec.txt", image}, "--log " + s + "/d/rec.txt: the same file as --failed " + s + "/dlink/rec.txt"},
        {{"--failed", '"' + s + "/d/q.txt\"", "--log", s + "/dlink/q.txt", image}, "--log " + s + "/dlink/q.txt: the same file as --failed " + s + "/d/q.txt"},
        {{"--log", "/proc/self/fd/3", image}, "--log /proc/self/fd/3: the same file as the firmware file " + image},
        {{"--log", s + "/into", image}, "--log " + s + "/into: a symbolic link into a folder that does not exist (" + s + "/missing/x.jsonl)"},
        {{"--failed", s + "/loop1", image}, "--failed " + s + "/loop1: a loop of symbolic links"},
        {{"--log", s + "/c1", "--failed", s + "/f1", image}, {}},
    };
    RadioSimProcess sim("127.0.6.80", {"--sessions", "1"});
    ASSERT_TRUE(sim.Ready());
    for (const Case& c : cases) {
        for (const bool plan : {true, false}) {
            SCOPED_TRACE((c.options.join(u' ') + (plan ? " --plan" : "")).toStdString());
            // The firmware file is also open as descriptor 3 of the updater, for /proc/self/fd/3.
            QProcess run;
            run.start("sh", QStringList{"-c", "img=$1; shift; exec \"$0\" \"$@\" 3<\"$img\"", ZFU_BIN_DIR "/zerlind-firm-update", image}
                                + (plan ? QStringList{"--plan"} : QStringList()) + c.options + QStringList{"127.0.6.80"});
            ASSERT_TRUE(run.waitForFinished(20000));
            EXPECT_EQ(run.exitCode(), c.refusal.isEmpty() ? 0 : 2);
            EXPECT_EQ(run.readAllStandardError().toStdString(), c.refusal.isEmpty() ? std::string() : ("zerlind-firm-update: " + c.refusal + u'\n').toStdString());
        }
    }
    // Only the accepted run wrote, through both chains; the links are links still.
    const QStringList records = Read(s + "/books.jsonl").split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(QJsonDocument::fromJson(records[1].toUtf8()).object().value("state"), "updated");
    EXPECT_TRUE(Read(s + "/failed.txt").startsWith("# not updated by zerlind-firm-update ")) << qPrintable(Read(s + "/failed.txt"));
    for (const char* link : {"/c1", "/c2", "/f1", "/f2", "/into"})
        EXPECT_TRUE(QFileInfo(s + link).isSymLink()) << link;
    EXPECT_EQ(QDir(s + "/d").entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
    EXPECT_FALSE(QFileInfo::exists(s + "/missing"));
    // A firmware file that is not there makes no folder and no log.
    EXPECT_EQ(RunUpdater({"--log", s + "/fresh/books.jsonl", s + "/none.dat", "127.0.6.80"}).exitCode, 3);
    EXPECT_FALSE(QFileInfo::exists(s + "/fresh"));
}

// The records are written apart from the terminal: with standard output stalled from the start
// (a pipe already full that nobody reads), every radio's record and the list are written as the
// run goes, and SIGTERM still ends the program by its signal. Radios 127.0.6.90 to 127.0.6.92.
TEST(Records, AStalledOutputHoldsNoRecordBackNorAnInterrupt)
{
    const QString image = TestSupport::WriteRandomFile("stalled.dat", 4096);
    const QString log = TestSupport::ScratchDir() + "/stalled.jsonl", failed = TestSupport::ScratchDir() + "/stalled.txt";
    QFile::remove(log);
    QFile::remove(failed);
    RadioSimProcess sim("127.0.6.90-127.0.6.92");
    ASSERT_TRUE(sim.Ready());
    int fds[2] = {-1, -1};
    ASSERT_EQ(::pipe2(fds, O_CLOEXEC | O_NONBLOCK), 0);
    const QByteArray chunk(4096, 'x');
    while (::write(fds[1], chunk.constData(), size_t(chunk.size())) > 0 || ::write(fds[1], "x", 1) > 0) {
    }
    // The flag belongs to the pipe, which the updater shares: it must block as a terminal would.
    ASSERT_EQ(::fcntl(fds[1], F_SETFL, 0), 0);
    SpawnedUpdater updater({"--json", "--jobs", "3", "--log", log, "--failed", failed, image, "127.0.6.90", "127.0.6.91", "127.0.6.92"}, fds[1]);
    ::close(fds[1]);
    ASSERT_TRUE(updater.Started());
    int records = 0;
    for (int i = 0; i < 200 && (records < 3 || !QFile::exists(failed)); ++i) {
        ::usleep(50 * 1000);
        records = int(Read(log).count(QStringLiteral("\"state\":\"updated\"")));
    }
    EXPECT_EQ(records, 3) << qPrintable(Read(log));
    EXPECT_TRUE(Read(failed).startsWith("# not updated by zerlind-firm-update ")) << qPrintable(Read(failed));
    updater.Signal(SIGTERM);
    EXPECT_TRUE(updater.Wait(10000)) << qPrintable(updater.Err());
    EXPECT_EQ(updater.TermSignal(), SIGTERM) << qPrintable(updater.Err());
    ::close(fds[0]);
}

// A file name is data, never structure: a line break in the firmware file's name cannot add a
// radio to the list to run again, and no escape sequence reaches the terminal. Radio 127.0.6.111,
// where nothing listens.
TEST(Records, ControlCharactersInANameAreShownNotObeyed)
{
    const QString image = TestSupport::WriteRandomFile("fw\n127.0.6.9 #\x1b[2J.dat", 2048);
    const QString failed = TestSupport::ScratchDir() + "/control.txt";
    const UpdaterOutcome run = RunUpdater({"--failed", failed, image, "127.0.6.111"});
    EXPECT_EQ(run.exitCode, 4) << qPrintable(run.err);
    const UpdaterOutcome plan = RunUpdater({"--plan", "--radios", failed, image});
    EXPECT_EQ(plan.exitCode, 0) << qPrintable(plan.err);
    const QStringList lines = plan.out.split(u'\n');
    EXPECT_TRUE(lines.first().endsWith(".dat: 2048 bytes, 2 blocks, SHA-256 " + TestSupport::FileSha256(image))) << qPrintable(plan.out);
    EXPECT_EQ(plan.out.count("127.0.6.9 "), 1) << qPrintable(plan.out);
    EXPECT_TRUE(plan.out.contains("  127.0.6.111  127.0.6.111  port 1111\n")) << qPrintable(plan.out);
    EXPECT_FALSE((run.out + run.err + plan.out + plan.err).contains(u'\x1b'));
}

// A record that cannot be written ends the run with status 9 naming the file and why, an old list
// stays whole and the log ends with its last whole record: a full tmpfs in a mount namespace of
// the test's own. The old list holds a page of it; the log, new, none, so that its first record
// needs one; or 4000 bytes of records, so that the next one fits only in part.
TEST(Records, AFullDiskEndsTheRunAndKeepsTheOldList)
{
    const QString dir = TestSupport::ScratchDir() + "/full", image = TestSupport::WriteRandomFile("disk.dat", 2048);
    QDir().mkpath(dir);
    QProcess probe;
    probe.start("unshare", {"-rm", "sh", "-c", "mount -t tmpfs -o size=64k none \"$0\"", dir});
    if (!probe.waitForFinished(10000) || probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0)
        GTEST_SKIP() << "no private tmpfs here (unshare -rm and mount are needed): " << probe.readAllStandardError().constData();
    RadioSimProcess sim("127.0.6.70-127.0.6.71", {"--refuse", "127.0.6.71/program"});
    ASSERT_TRUE(sim.Ready());
    for (const auto& [record, path, old] : {std::tuple<QString, QString, QString>{"--failed", dir + "/failed.txt", "# earlier\n127.0.6.99\n"},
                                            {"--log", dir + "/books.jsonl", ""},
                                            {"--log", dir + "/books.jsonl", QString("{\"n\":\"%1\"}\n").arg(QString(91, u'x')).repeated(40)}}) {
        const QString script = QStringLiteral("mount -t tmpfs -o size=64k none %1 && printf '%2' > %3 && (cat /dev/zero > %1/fill) "
                                              "2>/dev/null; \"$0\" \"$@\"; rc=$?; echo ---; cat %3; exit $rc")
                                   .arg(dir, QString(old).replace("\n", "\\n"), path);
        QProcess run;
        run.start("unshare", {"-rm", "sh", "-c", script, ZFU_BIN_DIR "/zerlind-firm-update", "--json", record, path, image, "127.0.6.70", "127.0.6.71"});
        ASSERT_TRUE(run.waitForFinished(20000));
        const QString err = QString::fromUtf8(run.readAllStandardError()), out = QString::fromUtf8(run.readAllStandardOutput());
        EXPECT_EQ(run.exitCode(), 9) << qPrintable(err);
        EXPECT_TRUE(err.contains(path + ": No space left on device")) << qPrintable(err);
        EXPECT_EQ(out.section("---\n", 1), old) << qPrintable(record);
        // The summary says the status the process ends with.
        const QJsonObject summary = QJsonDocument::fromJson(out.section("---\n", 0, 0).split(u'\n', Qt::SkipEmptyParts).last().toUtf8()).object();
        EXPECT_EQ(summary.value("event"), "summary");
        EXPECT_EQ(summary.value("exit"), 9);
    }
}

} // namespace

// Every other form fails on a stdout that cannot take what it writes, and says why.
TEST(Records, EveryFormFailsOnAFullStandardOutput)
{
    RadioSimProcess sim("127.0.6.50", {"--sessions", "2"});
    ASSERT_TRUE(sim.Ready());
    const QString image = TestSupport::WriteRandomFile("full.dat", 2048);
    for (const QStringList& form : QList<QStringList>{{"--help"}, {"--version"}, {"--plan", image, "127.0.6.50"},
                                                      {"--plan", "--json", image, "127.0.6.50"}, {image, "127.0.6.50"}, {"--scan", "127.0.6.50/32"}}) {
        const int full = ::open(QFile::encodeName(DeviceNode("full", 7)).constData(), O_WRONLY | O_CLOEXEC);
        SpawnedUpdater updater(form, full);
        ::close(full);
        ASSERT_TRUE(updater.Started() && updater.Wait(10000));
        EXPECT_TRUE(updater.ExitCode() == 9 && updater.Err().endsWith("zerlind-firm-update: standard output: No space left on device\n"))
            << qPrintable(form.join(' ') + '\n' + updater.Err());
    }
    // A reader gone is a write error with its reason, not SIGPIPE; a stdout closed at start is
    // the null device's, never a file the program opens.
    for (const char* form : {"--help", "--version"}) {
        int fds[2] = {-1, -1};
        ASSERT_EQ(::pipe2(fds, O_CLOEXEC), 0);
        ::close(fds[0]);
        SpawnedUpdater updater({form}, fds[1]);
        ::close(fds[1]);
        ASSERT_TRUE(updater.Started() && updater.Wait(10000));
        EXPECT_TRUE(updater.ExitCode() == 9 && updater.Err() == "zerlind-firm-update: standard output: Broken pipe\n") << form << qPrintable(updater.Err());
        QProcess closed;
        closed.start("sh", {"-c", "exec \"$0\" \"$@\" >&- 0<&-", ZFU_BIN_DIR "/zerlind-firm-update", form});
        ASSERT_TRUE(closed.waitForFinished(20000));
        EXPECT_EQ(closed.exitCode(), 0) << closed.readAllStandardError().constData();
    }
}
