#pragma once

#include <QString>
#include <QStringList>

// The program's command line: `tintora [SOUBOR]` opens a project (its .bmp or
// .bmp.mask) or imports a photograph at start-up; --help and --version print and end.
struct CommandLine {
    enum Action { Start, Help, Version, Refuse };
    Action action = Start;
    QString path;  // the file to open or import; empty for none
    QString note;  // more files named: the others were left (for the hint bar)
    QString error; // why the command line was refused
};

// Reads the arguments after the program's name.
CommandLine ParseCommandLine(const QStringList& arguments);

// What --help prints, and --version.
QString CommandLineHelp();
QString VersionText();
