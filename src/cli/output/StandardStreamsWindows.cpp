#include "StandardOutput.h"

void PrepareStandardStreams()
{
    // Windows has no SIGPIPE, and a console program's missing standard handles are not reused by
    // the files it opens.
}
