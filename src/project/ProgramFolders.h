#pragma once

#include <QString>

// Where the program's parts lie. The folder that scripts/run stages (or a copy of it)
// holds everything beside the program: its data (help page, demo catalogue, demo
// house) and the project folders domy and interier. A program installed by its package
// finds its data in <prefix>/share/tintora. Whenever the program's folder cannot be
// written, and always when installed, the projects live in the user's data folder,
// $XDG_DATA_HOME/tintora.
struct ProgramFolders {
    QString Program;  // the folder of the program file (AppDir)
    QString Data;     // help/help.htm, odrex.tom and the demo house in domy
    QString Projects; // holds domy and interier
    QString Settings; // the tintora.ini read (it need not exist)
    bool Installed = false;

    QString Houses() const { return Projects + QStringLiteral("/domy"); }
    QString Interiors() const { return Projects + QStringLiteral("/interier"); }
    QString HelpPage() const { return Data + QStringLiteral("/help/help.htm"); }
    QString DemoHouses() const { return Data + QStringLiteral("/domy"); }
    // The projects are the user's own, apart from the program.
    bool ProjectsApart() const { return Projects != Program; }
};

// The folders of the program in programDir, as found on the disk: installed when
// its data lies where the package puts it and not beside the program.
ProgramFolders LocateProgramFolders(const QString& programDir);

// The same, from what was found: installedData is the installed data folder (empty
// when the program is not installed), programWritable whether the program's project
// folders can be written, userData the user's data folder for the program
// ($XDG_DATA_HOME/tintora), userSettings the tintora.ini of an installed program.
ProgramFolders ChooseProgramFolders(const QString& programDir, const QString& installedData,
                                    bool programWritable, const QString& userData,
                                    const QString& userSettings);

// Makes domy and interier when missing. When the projects live apart from the
// program and domy was not there yet (the user's first start), the demo house is
// copied into it. Failures are not reported: the program starts all the same.
void PrepareProjectFolders(const ProgramFolders& folders);
