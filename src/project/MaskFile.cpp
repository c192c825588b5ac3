#include "project/MaskFile.h"

#include "project/AtomicFile.h"
#include "project/Errors.h"
#include "project/FileErrors.h"
#include "project/MessageText.h"
#include "project/RegularFile.h"
#include "project/TextField.h"

#include <QtEndian>

namespace MaskFile {
namespace {

constexpr int RunBlockSize = 5;
constexpr int SchemeHeaderSize = TextFieldCodec::FieldSize + 4;

// Reads little-endian fields; never reads past the end and never lets a count
// ask for more than the rest of the file can hold.
class Reader {
public:
    Reader(const QByteArray& bytes, const QString& fileName)
        : data_(bytes.constData()), size_(bytes.size()), fileName_(fileName) {}

    const char* Take(qsizetype n) {
        if (n > size_ - pos_)
            throw IoError(UnexpectedEndOfFileMessage(fileName_));
        const char* p = data_ + pos_;
        pos_ += n;
        return p;
    }
    std::uint8_t U8() { return static_cast<std::uint8_t>(*Take(1)); }
    std::uint16_t U16() { return qFromLittleEndian<quint16>(Take(2)); }
    std::int32_t I32() { return qFromLittleEndian<qint32>(Take(4)); }

    // A count of records of at least recordSize bytes each.
    void RequireRoomFor(qint64 count, qint64 recordSize) const {
        if (count < 0)
            throw IoError(NegativeCountMessage(fileName_));
        if (count * recordSize > size_ - pos_)
            throw IoError(UnexpectedEndOfFileMessage(fileName_));
    }

private:
    const char* data_;
    qsizetype size_;
    qsizetype pos_ = 0;
    QString fileName_;
};

LayerRecord ParseLayerBlock(const char* block, TextFieldCodec& codec) {
    auto i32 = [block](int offset) { return qFromLittleEndian<qint32>(block + offset); };
    LayerRecord layer;
    layer.Name = codec.Decode(block);
    layer.ReservedText = codec.Decode(block + 32);
    layer.MasterName = codec.Decode(block + 64);
    layer.RealColour = i32(96);
    layer.MaskColour = i32(100);
    layer.ShadeColour = i32(104);
    layer.Locked = block[108] != 0;
    layer.Subordinate = block[112] != 0;
    layer.ShadeId = i32(116);
    layer.FanDeckId = i32(120);
    layer.Quantity = i32(124);
    layer.PaintKindId = i32(128);
    // The display flags are not stored.
    layer.ShownInMaskMode = false;
    layer.HiddenInColourMode = false;
    return layer;
}

LayerList ParseLayerBlocks(Reader& reader, std::int32_t count, TextFieldCodec& codec) {
    reader.RequireRoomFor(count, LayerBlockSize);
    LayerList layers;
    layers.reserve(count);
    for (std::int32_t i = 0; i < count; ++i)
        layers.append(ParseLayerBlock(reader.Take(LayerBlockSize), codec));
    return layers;
}

template <typename T> void AppendLittleEndian(QByteArray& out, T value) {
    char bytes[sizeof(T)];
    qToLittleEndian(value, bytes);
    out.append(bytes, sizeof(T));
}

void AppendFlag(QByteArray& out, bool flag) {
    AppendLittleEndian<qint32>(out, flag ? 1 : 0);
}

void AppendLayerBlock(QByteArray& out, const LayerRecord& layer, TextFieldCodec& codec) {
    codec.Encode(layer.Name, out);
    codec.Encode(layer.ReservedText, out);
    codec.Encode(layer.MasterName, out);
    AppendLittleEndian<qint32>(out, layer.RealColour);
    AppendLittleEndian<qint32>(out, layer.MaskColour);
    AppendLittleEndian<qint32>(out, layer.ShadeColour);
    AppendFlag(out, layer.Locked);
    AppendFlag(out, layer.Subordinate);
    AppendLittleEndian<qint32>(out, layer.ShadeId);
    AppendLittleEndian<qint32>(out, layer.FanDeckId);
    AppendLittleEndian<qint32>(out, layer.Quantity);
    AppendLittleEndian<qint32>(out, layer.PaintKindId);
}

} // namespace

Contents Parse(const QByteArray& bytes, const QString& fileName) {
    Reader reader(bytes, fileName);
    TextFieldCodec codec;
    Contents contents;
    TMask& mask = contents.Mask;

    mask.Width = reader.U16();
    mask.Height = reader.U16();
    mask.Rows.resize(mask.Height);
    int highestLayer = -1;
    for (MaskRow& row : mask.Rows) {
        const std::uint16_t runCount = reader.U16();
        const char* block = reader.Take(qsizetype(runCount) * RunBlockSize);
        row.resize(runCount);
        for (MaskRun& run : row) {
            run.Layer = static_cast<std::uint8_t>(block[0]);
            run.First = qFromLittleEndian<quint16>(block + 1);
            run.Last = qFromLittleEndian<quint16>(block + 3);
            highestLayer = std::max<int>(highestLayer, run.Layer);
            block += RunBlockSize;
        }
    }

    const std::int32_t layerCount = reader.I32();
    if (layerCount > MaxLayerCount)
        throw BadFileError(QStringLiteral("Soubor je špatný: maska %1 má %2 vrstev, smí jich "
                                          "mít nejvýš %3.")
                               .arg(MessageText::Path(fileName), QString::number(layerCount),
                                    QString::number(MaxLayerCount)));
    contents.Layers = ParseLayerBlocks(reader, layerCount, codec);
    // A run may never name a layer that the file does not hold.
    if (highestLayer >= layerCount)
        throw BadFileError(QStringLiteral("Soubor je špatný: maska %1 má body ve vrstvě %2, "
                                          "ale jen %3 vrstev.")
                               .arg(MessageText::Path(fileName), QString::number(highestLayer),
                                    QString::number(layerCount)));
    for (int i = 0; i < contents.Layers.size(); ++i) {
        if (contents.Layers[i].Locked)
            mask.Locked[i] = true;
    }

    const std::int32_t schemeCount = reader.I32();
    reader.RequireRoomFor(schemeCount, SchemeHeaderSize);
    contents.Schemes.reserve(schemeCount);
    for (std::int32_t s = 0; s < schemeCount; ++s) {
        SchemeRecord scheme;
        scheme.Name = codec.Decode(reader.Take(TextFieldCodec::FieldSize));
        scheme.Layers = ParseLayerBlocks(reader, reader.I32(), codec);
        contents.Schemes.append(std::move(scheme));
    }
    return contents;
}

QByteArray Serialize(const TMask& mask, const LayerList& layers, const SchemeList& schemes) {
    qsizetype size = 4 + 4 + qsizetype(layers.size()) * LayerBlockSize + 4;
    for (const MaskRow& row : mask.Rows)
        size += 2 + qsizetype(row.size()) * RunBlockSize;
    for (const SchemeRecord& scheme : schemes)
        size += SchemeHeaderSize + qsizetype(scheme.Layers.size()) * LayerBlockSize;

    QByteArray out;
    out.reserve(size);
    TextFieldCodec codec;
    AppendLittleEndian<quint16>(out, static_cast<quint16>(mask.Width));
    AppendLittleEndian<quint16>(out, static_cast<quint16>(mask.Height));
    for (const MaskRow& row : mask.Rows) {
        // The rows are the bulk of the file: write them straight into the buffer.
        const qsizetype start = out.size();
        out.resize(start + 2 + qsizetype(row.size()) * RunBlockSize);
        char* block = out.data() + start;
        qToLittleEndian<quint16>(static_cast<quint16>(row.size()), block);
        block += 2;
        for (const MaskRun& run : row) {
            block[0] = static_cast<char>(run.Layer);
            qToLittleEndian<quint16>(static_cast<quint16>(run.First), block + 1);
            qToLittleEndian<quint16>(static_cast<quint16>(run.Last), block + 3);
            block += RunBlockSize;
        }
    }
    AppendLittleEndian<qint32>(out, static_cast<qint32>(layers.size()));
    for (const LayerRecord& layer : layers)
        AppendLayerBlock(out, layer, codec);
    AppendLittleEndian<qint32>(out, static_cast<qint32>(schemes.size()));
    for (const SchemeRecord& scheme : schemes) {
        codec.Encode(scheme.Name, out);
        AppendLittleEndian<qint32>(out, static_cast<qint32>(scheme.Layers.size()));
        for (const LayerRecord& layer : scheme.Layers)
            AppendLayerBlock(out, layer, codec);
    }
    return out;
}

Contents Load(const QString& path) {
    return Parse(RegularFile::ReadAll(path, MaxFileBytes), path);
}

} // namespace MaskFile

TMask TMask::LoadFromFile(const QString& path, LayerList& layers, SchemeList& schemes) {
    MaskFile::Contents contents = MaskFile::Load(path);
    layers = std::move(contents.Layers);
    schemes = std::move(contents.Schemes);
    return std::move(contents.Mask);
}

void TMask::SaveToFile(const QString& path, const LayerList& layers,
                       const SchemeList& schemes) const {
    WriteFileAtomically(path, MaskFile::Serialize(*this, layers, schemes));
}
