#include "editing/SmartSelection.h"

#include "editing/SmartRefinement.h"
#include "editing/SmartRegionChoice.h"

namespace {

SmartProposal ProposeMarked(const SmartPreparation& p, const QImage& photo,
                            const std::vector<std::uint8_t>& marks, const NearestMarked& nearest) {
    if (photo.size() != QSize(p.PhotoWidth, p.PhotoHeight))
        return SmartProposal(photo.width(), photo.height());
    return RefineAtFullSize(p, photo, ChooseMarkedRegions(p, marks, nearest));
}

} // namespace

SmartProposal ProposeRegion(const SmartPreparation& p, const QImage& photo,
                            const std::vector<SmartStroke>& strokes) {
    const std::vector<std::uint8_t> marks = MarkStrokes(p, strokes);
    return ProposeMarked(p, photo, marks, FindNearestMarked(p, marks));
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
    const std::vector<std::uint8_t> before = marks_;
    MarkRegions(marks_, StrokeRegions(p, stroke), stroke.Include);
    UpdateNearestMarked(nearest_, p, before, marks_);
    proposal_ = ProposeMarked(p, photo, marks_, nearest_);
}

void SmartSelection::Clear() {
    strokes_.clear();
    marks_.clear();
    nearest_ = NearestMarked();
    proposal_ = SmartProposal();
}
