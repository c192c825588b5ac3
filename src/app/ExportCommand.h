#pragma once

#include <QStringList>
#include <QTextStream>

// The companion command tintora-export: renders a project exactly as the program
// shows it after opening and writes pictures, a paint order (PDF) or a JSON listing.
// Returns the exit code; messages go to err, the listing and help to out. The paint
// order looks for the catalogue odrex.tom in programDir (the program's own folder
// when empty) unless --catalogue names one.
int RunExportCommand(const QStringList& arguments, QTextStream& out, QTextStream& err,
                     const QString& programDir = QString());
