#include "editing/SmartSelection.h"

#include "editing/SmartRefinement.h"
#include "editing/SmartRegionChoice.h"

SmartProposal ProposeRegion(const SmartPreparation& p, const QImage& photo,
                            const std::vector<SmartStroke>& strokes) {
    if (photo.size() != QSize(p.PhotoWidth, p.PhotoHeight))
        return SmartProposal(photo.width(), photo.height());
    return RefineAtFullSize(p, photo, ChooseRegions(p, strokes));
}

void SmartSelection::SetPreparation(std::shared_ptr<const SmartPreparation> preparation) {
    preparation_ = std::move(preparation);
    Clear();
}

void SmartSelection::AddStroke(const SmartStroke& stroke, const QImage& photo) {
    if (!preparation_)
        return;
    strokes_.push_back(stroke);
    proposal_ = ProposeRegion(*preparation_, photo, strokes_);
}

void SmartSelection::Clear() {
    strokes_.clear();
    proposal_ = SmartProposal();
}
