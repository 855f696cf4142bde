#include "SpawnedUpdater.h"

#include "TestSupport.h"

#include <QFile>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <vector>

namespace {

QString ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

int g_spawnCount = 0;

} // namespace

SpawnedUpdater::SpawnedUpdater(const QStringList& arguments, int stdoutFd)
{
    const QString stem = QStringLiteral("%1/spawned-%2-%3").arg(TestSupport::ScratchDir()).arg(getpid()).arg(++g_spawnCount);
    m_outPath = stem + QStringLiteral(".out");
    m_errPath = stem + QStringLiteral(".err");
    std::vector<QByteArray> args{QByteArrayLiteral(ZFU_BIN_DIR "/zerlind-firm-update")};
    for (const QString& a : arguments)
        args.push_back(a.toUtf8());
    std::vector<char*> argv;
    for (QByteArray& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    // The test's own environment (sanitizer options among it), in the C.UTF-8 locale.
    std::vector<QByteArray> env{QByteArrayLiteral("LC_ALL=C.UTF-8")};
    for (char** e = environ; *e; ++e) {
        if (std::strncmp(*e, "LC_ALL=", 7) != 0)
            env.emplace_back(*e);
    }
    std::vector<char*> envp;
    for (QByteArray& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const QByteArray out = m_outPath.toUtf8();
    const QByteArray err = m_errPath.toUtf8();
    if (stdoutFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, stdoutFd, STDOUT_FILENO);
    else
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    // A test runner may ignore or block signals; the updater starts with the defaults, as from a shell.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigset_t all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), envp.data()) == 0)
        m_pid = pid;
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
}

SpawnedUpdater::~SpawnedUpdater()
{
    if (m_pid > 0) {
        ::kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }
}

void SpawnedUpdater::Signal(int signal) const
{
    if (m_pid > 0)
        ::kill(m_pid, signal);
}

bool SpawnedUpdater::Wait(int timeoutMs)
{
    int status = 0;
    const bool ended = TestSupport::WaitUntil([&] { return m_pid > 0 && waitpid(m_pid, &status, WNOHANG) == m_pid; },
                                              timeoutMs);
    if (!ended)
        return false;
    m_pid = -1;
    m_termSignal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    m_exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return true;
}

QString SpawnedUpdater::Out() const
{
    return ReadAll(m_outPath);
}

QString SpawnedUpdater::Err() const
{
    return ReadAll(m_errPath);
}
