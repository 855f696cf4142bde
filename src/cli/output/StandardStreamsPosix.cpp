#include "StandardOutput.h"

#include <csignal>

#include <fcntl.h>
#include <unistd.h>

void PrepareStandardStreams()
{
    // A descriptor 0, 1 or 2 the caller closed (">&-") would be taken by the next file the
    // program opens, and its output would go there: each is held by the null device first.
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1)
            continue;
        const int null = ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
        if (null >= 0 && null != fd) {
            ::dup2(null, fd);
            ::close(null);
        }
    }
    // A reader that left is a write error with its reason (status 9), as for every other output,
    // not a signal that kills the program before it can say so.
    std::signal(SIGPIPE, SIG_IGN);
}
