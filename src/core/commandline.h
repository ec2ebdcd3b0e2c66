// What the program's command line asks for: help, the version, or a run with
// at most one card file; anything else is a usage error with its message.
#pragma once

#include <QString>
#include <QStringList>

struct CommandLine {
    enum class Kind { Run, Help, Version, Error };
    Kind kind = Kind::Run;
    QStringList cardFiles;  // Run: the card file to open, or none
    QString message;  // Error: what to tell the user (ends with a line break)
};

// args without the program's own name. "-h"/"--help" and "-v"/"--version"
// win wherever they stand before "--"; after "--" every argument is a card
// file. Any other argument that starts with "-" is an unknown option, and a
// second card file is refused rather than dropped.
CommandLine ReadCommandLine(const QStringList& args);

// The text of --help, every line ended by a line break.
QString CommandLineHelp();
