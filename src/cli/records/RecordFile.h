// The two files of a run at the system's level, each kept whole: the log, one record one write,
// cut back to its last whole record when a write fails; the list, replaced whole or not at all.
// RecordFilePosix.cpp and RecordFileWindows.cpp.
#pragma once

#include <QByteArray>
#include <QString>

class RecordFile {
public:
    RecordFile() = default;
    ~RecordFile();
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    // Opens (making it if missing) the file at `path` for appending; the system's reason, or empty.
    QString Open(const QString& path);
    // Appends `line`, a whole record, in one write. When the write fails or is cut short, the
    // file is cut back to where the record began, so it ends with the last whole record; the
    // system's reason ("No space left on device"), or empty.
    QString Append(const QByteArray& line);

private:
    qintptr m_handle = -1;
};

// Writes `data` to the regular file `path` whole or not at all: into a new file beside it, synced,
// then renamed over it, with the mode and owner of the file it replaces where the program may set
// them. The system's reason, or empty; `path` is then as it was.
QString ReplaceRecordWhole(const QString& path, const QByteArray& data);
