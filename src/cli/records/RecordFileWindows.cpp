#include "RecordFile.h"

#include "base/Platform.h"

#include <QFile>

// Windows: the system's own calls behind Qt's file; no other run appends while the file is open
// without sharing, and a replaced list keeps the attributes the rename gives it.

namespace {

QFile* FileOf(qintptr handle)
{
    return reinterpret_cast<QFile*>(handle);
}

} // namespace

RecordFile::~RecordFile()
{
    if (m_handle != -1)
        delete FileOf(m_handle);
}

QString RecordFile::Open(const QString& path)
{
    auto* file = new QFile(path);
    if (!file->open(QIODevice::Append | QIODevice::Unbuffered)) {
        const QString reason = file->errorString();
        delete file;
        return reason;
    }
    m_handle = reinterpret_cast<qintptr>(file);
    return QString();
}

QString RecordFile::Append(const QByteArray& line)
{
    QFile* file = FileOf(m_handle);
    const qint64 start = file->size();
    if (file->write(line) == line.size())
        return QString();
    const QString reason = file->errorString();
    // A part of a record would make the line after it unreadable: back to the last whole one.
    file->resize(start);
    return reason;
}
