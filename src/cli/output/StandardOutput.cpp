#include "StandardOutput.h"

#include "engine/ExitStatus.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cerrno>
#include <cstdio>
#include <cstring>

QFile& StandardOutput()
{
    static QFile out;
    if (!out.isOpen())
        out.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::DontCloseHandle);
    return out;
}

int CloseStandardOutput(int exitCode)
{
    QFile& out = StandardOutput();
    QString error = out.error() != QFileDevice::NoError ? out.errorString() : QString();
    errno = 0;
    const bool flushFailed = std::fflush(stdout) != 0 || std::ferror(stdout) != 0;
    const int flushError = errno;
    // A stdout closed by the caller (">&-") that was never written to is no failure.
    const bool closeFailed = std::fclose(stdout) != 0 && errno != EBADF;
    const int closeError = errno;
    if (error.isEmpty() && (flushFailed || closeFailed)) {
        const int code = flushFailed ? flushError : closeError;
        error = code != 0 ? QString::fromLocal8Bit(std::strerror(code)) : QCoreApplication::translate("StandardOutput", "write error");
    }
    if (error.isEmpty())
        return exitCode;
    // The fleet's output has said so already when it ends with this status.
    if (exitCode != EXIT_OUTPUT_FAILED)
        QTextStream(stderr) << "zerlind-firm-update: "
                            << QCoreApplication::translate("StandardOutput", "standard output: %1").arg(error) << '\n';
    return EXIT_OUTPUT_FAILED;
}
