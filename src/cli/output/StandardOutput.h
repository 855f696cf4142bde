// Standard output for the forms that write it on the main thread (help, version, plan, one
// radio, scan, refusals): one device whose first failed write is kept, so the reason is known
// when the output ends.
#pragma once

#include <QFile>

QFile& StandardOutput();
// First of all, before any file is opened: descriptors 0, 1 and 2 closed at start are opened on
// the null device, and a reader gone from a pipe is a write error, never a signal.
// StandardStreamsPosix.cpp, StandardStreamsWindows.cpp.
void PrepareStandardStreams();
// The last flush and the close of stdout, checked as the core utilities check them (a full disk
// or a reader gone often shows only there): EXIT_OUTPUT_FAILED with the reason on stderr when
// any write to it failed, else `exitCode`. Nothing may be written to stdout after it.
int CloseStandardOutput(int exitCode);
