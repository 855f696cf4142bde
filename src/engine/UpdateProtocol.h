// The radio's update protocol: the bytes of a request, how a reply is judged, and one
// lock-step request/reply exchange with its busy resends.
#pragma once

#include <QtGlobal>

class CTimedSocket;

inline constexpr quint16 UPDATE_PORT = 1111;
inline constexpr int BLOCK_SIZE = 1024;
inline constexpr int REQUEST_HEADER_SIZE = 8;
inline constexpr int REQUEST_BUFFER_SIZE = REQUEST_HEADER_SIZE + BLOCK_SIZE;
inline constexpr int REPLY_BUFFER_SIZE = 1032;
// The radio may be busy for a while; past this many resends it is taken as not answering.
inline constexpr int BUSY_RETRY_LIMIT = 30;
// Gives a busy radio a moment before the same request goes again.
inline constexpr int BUSY_RETRY_DELAY_MS = 10;

inline constexpr quint8 REQUEST_MARKER = 0x10;
inline constexpr quint8 CMD_DATA = 0;
inline constexpr quint8 CMD_PROGRAM = 2;
inline constexpr quint8 CMD_BEGIN = 3;

inline constexpr quint8 STATUS_ACCEPTED = 0x20;      // " "
inline constexpr quint8 STATUS_ACCEPTED_ALT = 0x21;  // "!"
inline constexpr quint8 STATUS_BUSY = 0x40;          // "@"
inline constexpr quint8 STATUS_NO_REPLY = 0x42;      // "B", also written by us when no reply came

// Reply layout: the status byte, then after the first data block the echo of image bytes 4..7.
inline constexpr int REPLY_STATUS_OFFSET = 1;
inline constexpr int REPLY_ECHO_OFFSET = 2;
inline constexpr int IMAGE_ECHO_OFFSET = 4;
inline constexpr int ECHO_SIZE = 4;

// What a whole reply holds: the status alone, or the status and the four echo bytes.
enum class ReplyKind { Status, StatusAndEcho };

// Writes the 8-byte header and `length` payload bytes (none when `data` is null) into
// `request`, which holds REQUEST_BUFFER_SIZE bytes. Returns the request's size, 8 + length.
int BuildRequest(quint8 command, const char* data, int length, char* request);

bool IsAcceptedStatus(quint8 status);

// Whether `count` bytes of a reply are enough to judge it: the status byte, plus the echo when
// `kind` asks for it and the status accepts (a busy or refusing reply carries no echo).
bool IsReplyComplete(const char* reply, qint64 count, ReplyKind kind);

// Reply bytes 2..5 against image bytes 4..7; the image holds at least 8 bytes.
bool EchoMatches(const char* reply, const char* image);

// One exchange: sends the request, waits for a whole reply within the socket's time-out and
// resends after each busy reply, at most BUSY_RETRY_LIMIT times, each `busyDelayMs` after the
// busy reply. True when the radio accepted.
// `reply` (REPLY_BUFFER_SIZE bytes) then holds the last reply; when none came its status byte
// reads STATUS_NO_REPLY, when the peer closed first it stays 0.
bool ExchangeRequest(CTimedSocket& socket, quint8 command, char* request, char* reply,
                     const char* data, int length, ReplyKind kind = ReplyKind::Status,
                     int busyDelayMs = BUSY_RETRY_DELAY_MS);
