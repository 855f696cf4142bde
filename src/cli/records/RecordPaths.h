// The files of a run known by what is opened, not by how their names are spelt: the one
// normalisation every path gets, where a symbolic-link chain ends, and which file a path is (or
// will be once made), so that no record is written over the image, a list or the other record.
#pragma once

#include "base/Platform.h"

#include <QString>
#include <QVector>

// The path the run opens for `given`: the firmware file's rule for every path of the command
// line, so that one file named with and without the double quotes a file manager copies around
// a path is one file. "-" stays standard input.
QString PathToOpen(const QString& given);

// Where a path leads, through every symbolic link to the end of the chain.
struct FileWhere {
    enum class Kind {
        Existing,            // a file is there (of any type); `identity` is its own
        ToBeMade,            // nothing yet: made as `rest` below the folder `identity` is
        LinkToMissingFolder, // a symbolic link whose end lies in a folder that does not exist
        LinkLoop,            // the chain does not end
    };
    Kind kind = Kind::ToBeMade;
    Platform::FileIdentity identity;
    QString rest;   // ToBeMade: the names below that folder, "rec.txt" or "new/rec.txt"
    QString target; // the end of the chain: the file that is written, never a link halfway

    // One file: both there and the same, or both to be made in one folder by one name.
    bool SameFile(const FileWhere& other) const;
};

FileWhere LocateFile(const QString& path);

// A file the run reads or writes, and what for: the firmware file, a radio list, --failed, --log.
struct FileRole {
    QString option; // "--radios", "--failed", "--log"; empty for the firmware file
    QString path;   // as opened (PathToOpen)
};

// Whether every file of `roles` has one role: two roles on one file, by any names (quotes,
// symbolic links in the name or its folders, hard links, /proc/self/fd), are refused with the
// later one named first. Nothing is opened, so a named pipe cannot hold the program up.
bool CheckFileRoles(const QVector<FileRole>& roles, QString& error);

// Whether `path`, given to `option`, may take a record of the run: a regular file, or none yet in
// a folder that is there or can be made (a symbolic link to either will do, but not a link into
// a folder that does not exist). A device is never replaced.
bool CheckRecordPath(const QString& option, const QString& path, QString& error);
