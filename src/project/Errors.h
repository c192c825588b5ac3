#pragma once

#include <QString>
#include <stdexcept>

// Errors of the core carry the Czech text that the user is shown.
class TintoraError : public std::runtime_error {
public:
    explicit TintoraError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

// A file could not be opened, read or written, or ended early.
class IoError : public TintoraError {
public:
    using TintoraError::TintoraError;
};

// A file was read whole but its content is not acceptable; most often with the
// message "Soubor je špatný".
class BadFileError : public TintoraError {
public:
    using TintoraError::TintoraError;
    BadFileError() : TintoraError(QStringLiteral("Soubor je špatný")) {}
};

// The catalogue database refused a connection or a statement.
class DatabaseError : public TintoraError {
public:
    using TintoraError::TintoraError;
};
