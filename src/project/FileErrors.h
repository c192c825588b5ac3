#pragma once

#include <QFileDevice>
#include <QString>

// The Czech wording of a file operation's failure, naming the file.
QString CzechFileError(const QFileDevice& file, const QString& path, bool writing);
QString UnexpectedEndOfFileMessage(const QString& path);
QString NegativeCountMessage(const QString& path);
