#include "editing/SmartSelection.h"

#include "editing/SmartRefinement.h"
#include "editing/SmartRegionChoice.h"

namespace {

SmartProposal ProposeMarked(const SmartPreparation& p, const QImage& photo,
                            const std::vector<std::uint8_t>& marks) {
    if (photo.size() != QSize(p.PhotoWidth, p.PhotoHeight))
        return SmartProposal(photo.width(), photo.height());
    return RefineAtFullSize(p, photo, ChooseMarkedRegions(p, marks));
}

} // namespace

SmartProposal ProposeRegion(const SmartPreparation& p, const QImage& photo,
                            const std::vector<SmartStroke>& strokes) {
    return ProposeMarked(p, photo, MarkStrokes(p, strokes));
}

void SmartSelection::SetPreparation(std::shared_ptr<const SmartPreparation> preparation) {
    preparation_ = std::move(preparation);
    Clear();
}

void SmartSelection::AddStroke(const SmartStroke& stroke, const QImage& photo) {
    if (!preparation_)
        return;
    strokes_.push_back(stroke);
    const SmartPreparation& p = *preparation_;
    marks_.resize(size_t(p.RegionCount()), 0);
    MarkRegions(marks_, StrokeRegions(p, stroke), stroke.Include);
    proposal_ = ProposeMarked(p, photo, marks_);
}

void SmartSelection::Clear() {
    strokes_.clear();
    marks_.clear();
    proposal_ = SmartProposal();
}
