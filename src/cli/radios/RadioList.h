// The radios of a command line: each named by an address or a host name, optionally with a port
// of its own, from the arguments or from list files; and the refusal of a radio named twice,
// which two updates at once would corrupt.
#pragma once

#include <QString>
#include <QVector>

struct RadioEntry {
    QString name;     // as the operator wrote it: "127.0.4.10", "radio-van.local:1112", "[::1]:1111"
    QString host;     // the address or host name, without the port
    quint16 port = 0; // its own port, or the run's
    QString address;  // the numeric address it connects to, once names are resolved
    QString origin;   // "LIST:LINE" for a radio of a list, "ADDRESS N of the command line"
    bool nameLate = false; // its name had no answer within the time-out (else: it does not resolve)
};

// The radio as a list to run again on names it: with its port whenever that is not the radios'
// own, so that the next run reaches the same radio whatever its --port.
QString NameWithPort(const RadioEntry& radio);
// Its numeric address, with the port likewise.
QString AddressWithPort(const RadioEntry& radio);

// "HOST", "HOST:PORT", "[IPV6]:PORT" or a bare IPv6 address, HOST being four decimal parts or a
// host name, blanks around it aside. False with `why` set when `text` is none of these; nothing is
// looked up.
bool ParseRadio(const QString& text, quint16 defaultPort, RadioEntry& radio, QString& why);

// Appends the radios of `path` ("-": standard input): one radio a line; '#' starts a comment at
// the start of a line or after a blank; blank lines, a byte-order mark and CR LF endings are
// taken in their stride. Any other line is refused as "PATH:LINE: not a radio address: '...'".
// The text is UTF-8, or UTF-16 with a byte-order mark; other bytes are refused as such.
// Each radio's origin is its list and line. `firstLine`, when given, gets the list's first line as
// read, so that a list read once (standard input, a pipe) can still say who wrote it.
bool ReadRadioList(const QString& path, quint16 defaultPort, QVector<RadioEntry>& radios, QString& error,
                   QString* firstLine = nullptr);

// True with `error` set, naming where each was given, when two entries are the same text, or
// connect to the same address and port; IPv4 written as IPv6 (::ffff:a.b.c.d) counts as the
// IPv4 address.
bool FindDuplicateRadio(const QVector<RadioEntry>& radios, QString& error);
