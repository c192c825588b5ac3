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

// The characters of text that Windows-1250 cannot hold (each once, in the order they
// first appear); empty when the whole text can be stored. Such characters would be
// written as the substitute byte 0x1A, so that "日" and "本" became the same name.
QString CharactersOutsideWindows1250(const QString& text);

// The message for a typed text that holds such characters, naming them.
QString OutsideWindows1250Message(const QString& characters);
