// "Which address does my radio have?": a TCP connection to the update port of every host of an
// IPv4 network, many at once, each closed again without a byte sent.
#pragma once

#include <QHostAddress>
#include <QList>
#include <QString>

#include <atomic>

// The widest network a scan covers: 1022 hosts.
inline constexpr int MIN_SCAN_PREFIX = 22;

enum class ScanNetworkParse { Ok, Malformed, TooLarge };

// "NETWORK/PREFIX" (IPv4, prefix 22 to 32) to its first and last host address: without the
// network and broadcast addresses, except for /31 and /32, which have none.
ScanNetworkParse ParseScanNetwork(const QString& text, quint32& firstHost, quint32& lastHost);

// The hosts from `firstHost` to `lastHost` that accept a connection on `port` within
// `connectTimeoutMs`, in address order. Ends early, with what it found, once `stop` is set.
QList<QHostAddress> ScanForRadios(quint32 firstHost, quint32 lastHost, quint16 port, int connectTimeoutMs,
                                  const std::atomic<bool>& stop);
