#pragma once

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

// The 32-byte Windows-1250 text fields of the mask file.
class TextFieldCodec {
public:
    static constexpr int FieldSize = 32;

    TextFieldCodec();

    // The characters up to the first NUL, at most 32.
    QString Decode(const char* field);
    // Appends exactly 32 bytes: the text cut to 32 characters, then a NUL and zeros.
    void Encode(const QString& text, QByteArray& out);

private:
    QStringDecoder decoder_;
    QStringEncoder encoder_;
};
