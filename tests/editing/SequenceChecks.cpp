#include "editing/SequenceChecks.h"

#include <QVariant>

namespace SequenceChecks {

QString ColourText(Colour c) {
    if (c == NoColour)
        return QStringLiteral("none");
    return QStringLiteral("RGB(%1, %2, %3)").arg(RedOf(c)).arg(GreenOf(c)).arg(BlueOf(c));
}

namespace {

// The fields in which two layer records differ, for the report.
QString Differences(const LayerRecord& program, const LayerRecord& model) {
    QStringList out;
    const auto field = [&out](const char* name, const auto& a, const auto& b) {
        if (!(a == b))
            out << QStringLiteral("%1 %2, expected %3")
                       .arg(QLatin1String(name), QVariant::fromValue(a).toString(),
                            QVariant::fromValue(b).toString());
    };
    field("Name", program.Name, model.Name);
    field("ReservedText", program.ReservedText, model.ReservedText);
    field("RealColour", program.RealColour, model.RealColour);
    field("MaskColour", program.MaskColour, model.MaskColour);
    field("ShadeColour", program.ShadeColour, model.ShadeColour);
    field("Locked", program.Locked, model.Locked);
    field("ShownInMaskMode", program.ShownInMaskMode, model.ShownInMaskMode);
    field("HiddenInColourMode", program.HiddenInColourMode, model.HiddenInColourMode);
    field("ShadeId", program.ShadeId, model.ShadeId);
    field("FanDeckId", program.FanDeckId, model.FanDeckId);
    field("Quantity", program.Quantity, model.Quantity);
    field("PaintKindId", program.PaintKindId, model.PaintKindId);
    field("MasterName", program.MasterName, model.MasterName);
    field("Subordinate", program.Subordinate, model.Subordinate);
    return out.join(QStringLiteral("; "));
}

} // namespace

LayerList AsRead(LayerList layers) {
    for (LayerRecord& layer : layers) {
        layer.ShownInMaskMode = false;
        layer.HiddenInColourMode = false;
    }
    return layers;
}

SchemeList AsRead(SchemeList schemes) {
    for (SchemeRecord& scheme : schemes)
        scheme.Layers = AsRead(scheme.Layers);
    return schemes;
}

QString CompareLayers(const LayerList& program, const LayerList& model, const QString& what) {
    if (program.size() != model.size())
        return QStringLiteral("%1: %2 layers, expected %3")
            .arg(what)
            .arg(program.size())
            .arg(model.size());
    for (int i = 0; i < model.size(); ++i) {
        if (!(program[i] == model[i]))
            return QStringLiteral("%1: layer %2: %3")
                .arg(what)
                .arg(i)
                .arg(Differences(program[i], model[i]));
    }
    return {};
}

QString CompareSchemes(const SchemeList& program, const SchemeList& model) {
    if (program.size() != model.size())
        return QStringLiteral("%1 schemes, expected %2").arg(program.size()).arg(model.size());
    for (int s = 0; s < model.size(); ++s) {
        if (program[s].Name != model[s].Name)
            return QStringLiteral("scheme %1 is named %2, expected %3")
                .arg(s)
                .arg(program[s].Name, model[s].Name);
        const QString layers =
            CompareLayers(program[s].Layers, model[s].Layers, QStringLiteral("scheme %1").arg(s));
        if (!layers.isEmpty())
            return layers;
    }
    return {};
}

QString CompareMask(const TMask& program, const Plain::PixelMask& model, int layerCount) {
    if (program.Width != model.Width || program.Height != model.Height ||
        int(program.Rows.size()) != model.Height)
        return QStringLiteral("the mask is %1 × %2 with %3 rows, expected %4 × %5")
            .arg(program.Width)
            .arg(program.Height)
            .arg(program.Rows.size())
            .arg(model.Width)
            .arg(model.Height);
    for (int y = 0; y < model.Height; ++y) {
        int next = 0;
        for (const MaskRun& run : program.Rows[y]) {
            if (run.First != next || run.Last < run.First || run.Last >= model.Width)
                return QStringLiteral("row %1: run %2..%3 where x %4 comes next")
                    .arg(y)
                    .arg(run.First)
                    .arg(run.Last)
                    .arg(next);
            if (run.Layer >= layerCount)
                return QStringLiteral("row %1: run %2..%3 of layer %4, but there are %5 layers")
                    .arg(y)
                    .arg(run.First)
                    .arg(run.Last)
                    .arg(run.Layer)
                    .arg(layerCount);
            for (int x = run.First; x <= run.Last; ++x) {
                if (run.Layer != model.At(x, y))
                    return QStringLiteral("pixel (%1, %2) is in layer %3, expected %4")
                        .arg(x)
                        .arg(y)
                        .arg(run.Layer)
                        .arg(model.At(x, y));
            }
            next = run.Last + 1;
        }
        if (next != model.Width)
            return QStringLiteral("row %1 is covered up to x %2 only").arg(y).arg(next - 1);
    }
    return {};
}

QString CompareImages(const QImage& program, const QImage& model) {
    if (program.size() != model.size())
        return QStringLiteral("the view is %1 × %2, expected %3 × %4")
            .arg(program.width())
            .arg(program.height())
            .arg(model.width())
            .arg(model.height());
    if (program == model)
        return {};
    for (int y = 0; y < model.height(); ++y) {
        for (int x = 0; x < model.width(); ++x) {
            const QRgb a = program.pixel(x, y), b = model.pixel(x, y);
            if (a != b)
                return QStringLiteral("view pixel (%1, %2) is RGB(%3, %4, %5), expected %6")
                    .arg(x)
                    .arg(y)
                    .arg(qRed(a))
                    .arg(qGreen(a))
                    .arg(qBlue(a))
                    .arg(ColourText(Rgb(qRed(b), qGreen(b), qBlue(b))));
        }
    }
    return {};
}

} // namespace SequenceChecks
