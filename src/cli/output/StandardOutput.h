// Standard output for the forms that write it on the main thread (help, version, plan, one
// radio, scan, refusals): one device whose first failed write is kept, so the reason is known
// when the output ends.
#pragma once

#include <QFile>

QFile& StandardOutput();
// The last flush and the close of stdout, checked as the core utilities check them (a full disk
// or a reader gone often shows only there): EXIT_OUTPUT_FAILED with the reason on stderr when
// any write to it failed, else `exitCode`. Nothing may be written to stdout after it.
int CloseStandardOutput(int exitCode);
