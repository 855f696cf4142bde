// Reads a fuzz input as a stream of small numbers and byte strings. Past the end every read
// yields zero or empty, so a target never needs to check how much is left.
#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

// A property a target checks: a failure aborts, which libFuzzer records as a crash.
#define FUZZ_CHECK(condition)                                                                 \
    do {                                                                                      \
        if (!(condition)) {                                                                   \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                     \
        }                                                                                     \
    } while (false)

class CFuzzInput {
public:
    CFuzzInput(const quint8* data, size_t size) : m_data(data), m_size(size) {}

    bool Empty() const { return m_pos >= m_size; }
    size_t Remaining() const { return m_size - m_pos; }

    quint8 Byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    bool Bool() { return (Byte() & 1) != 0; }

    // Little-endian, from the next four bytes.
    quint32 U32()
    {
        quint32 value = 0;
        for (int shift = 0; shift < 32; shift += 8)
            value |= quint32(Byte()) << shift;
        return value;
    }
    qint32 I32() { return qint32(U32()); }

    // A number in [low, high]; high >= low.
    int Range(int low, int high)
    {
        const quint32 span = quint32(qint64(high) - low) + 1;
        return span == 0 ? int(U32()) : int(qint64(low) + U32() % span);
    }

    // The next `count` bytes, fewer at the end.
    QByteArray Bytes(size_t count)
    {
        count = qMin(count, Remaining());
        const QByteArray bytes(reinterpret_cast<const char*>(m_data + m_pos), qsizetype(count));
        m_pos += count;
        return bytes;
    }
    QByteArray Rest() { return Bytes(Remaining()); }

private:
    const quint8* m_data;
    size_t m_size;
    size_t m_pos = 0;
};
