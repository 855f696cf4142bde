// The command line: "-nocheck", a preset firmware path (optionally quoted) and the prefix form
// "*U" / "*T" that hides the file controls. Pure text rules, no window dependency.
#pragma once

#include <QString>
#include <QStringList>

struct CommandLineOptions {
    bool bNoCheck = false;          // "-nocheck" stood as a word of its own
    bool bHideFileControls = false; // prefix form "*U" / "*T"
    QString strFileName;            // preset firmware path, empty when none
};

// Applies the rules to the command-line text that follows the program name.
CommandLineOptions ParseCommandLine(const QString& text);

// Joins the program's arguments (without the program name) into one command-line text in which
// every argument the shell split off stays one path: each is quoted, the "*U" / "*T" prefix in
// front of the quotes, unless it holds a double quote or "-nocheck" as a word and so is passed as
// written.
QString CommandLineText(const QStringList& arguments);
