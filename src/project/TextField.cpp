#include "project/TextField.h"

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
