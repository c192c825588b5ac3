#pragma once

#include <QStringList>
#include <QTextStream>

// The companion command tintora-export: renders a project exactly as the program
// shows it after opening and writes pictures, a paint order (PDF) or a JSON listing.
// Returns the exit code; messages go to err, the listing and help to out. The paint
// order reads the catalogue that --catalogue names, else the program's own: the one
// tintora.ini in programDir (the program's own folder when empty) names, or odrex.tom
// there.
int RunExportCommand(const QStringList& arguments, QTextStream& out, QTextStream& err,
                     const QString& programDir = QString());
