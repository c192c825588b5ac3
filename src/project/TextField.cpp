#include "project/TextField.h"

#include "project/MessageText.h"

#include <cstring>

TextFieldCodec::TextFieldCodec()
    : decoder_("windows-1250", QStringConverter::Flag::Stateless),
      encoder_("windows-1250", QStringConverter::Flag::Stateless) {}

QString TextFieldCodec::Decode(const char* field) {
    const void* nul = std::memchr(field, 0, FieldSize);
    const qsizetype length = nul ? static_cast<const char*>(nul) - field : FieldSize;
    return decoder_.decode(QByteArrayView(field, length));
}

void TextFieldCodec::Encode(const QString& text, QByteArray& out) {
    // Cut by characters, not UTF-16 units: one character becomes one byte.
    qsizetype cut = 0;
    for (int characters = 0; cut < text.size() && characters < FieldSize; ++characters) {
        const bool pair =
            text[cut].isHighSurrogate() && cut + 1 < text.size() && text[cut + 1].isLowSurrogate();
        cut += pair ? 2 : 1;
    }
    QByteArray bytes = encoder_.encode(QStringView(text).left(cut));
    bytes.truncate(FieldSize);
    const qsizetype start = out.size();
    out.append(bytes);
    out.append(FieldSize - bytes.size(), '\0');
    Q_ASSERT(out.size() - start == FieldSize);
}

QString CharactersOutsideWindows1250(const QString& text) {
    QStringEncoder encoder("windows-1250", QStringConverter::Flag::Stateless);
    QStringDecoder decoder("windows-1250", QStringConverter::Flag::Stateless);
    QString outside;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length =
            text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2
                                                                                             : 1;
        const QStringView character = QStringView(text).mid(i, length);
        i += length;
        // A character survives the round trip exactly when the code page holds it.
        const QString back = decoder.decode(encoder.encode(character));
        if (back != character && !outside.contains(character))
            outside += character;
    }
    return outside;
}

QString OutsideWindows1250Message(const QString& characters) {
    return QStringLiteral("Text obsahuje znaky, které program neumí uložit: %1\n"
                          "Použijte písmena české abecedy, číslice a běžné znaky.")
        .arg(MessageText::Value(characters));
}
