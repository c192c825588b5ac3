#pragma once

#include <QStringList>
#include <QTextStream>

// The companion command tintora-export: renders a project exactly as the program
// shows it after opening and writes pictures or a JSON listing. Returns the exit
// code; messages go to err, the listing and help to out.
int RunExportCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);
