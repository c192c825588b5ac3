#pragma once

#include "editing/SmartNearestMarked.h"
#include "editing/SmartPreparation.h"
#include "editing/SmartProposal.h"
#include "editing/SmartStroke.h"

#include <QImage>
#include <cstdint>
#include <memory>
#include <vector>

// The proposal of all the strokes on a prepared photograph (Format_BGR888, the one
// prepared), worked out from scratch: the regions the strokes ask for, then their
// edge decided on the photograph. Empty without an including stroke that touches
// the photograph, or when the photograph is not the prepared one.
SmartProposal ProposeRegion(const SmartPreparation& p, const QImage& photo,
                            const std::vector<SmartStroke>& strokes);

// The smart selection tool's strokes on one photograph and the proposal they make.
class SmartSelection {
public:
    // Another photograph's preparation (or none): strokes and proposal go.
    void SetPreparation(std::shared_ptr<const SmartPreparation> preparation);
    const std::shared_ptr<const SmartPreparation>& Preparation() const { return preparation_; }

    // Adds a stroke and works the proposal out again from every stroke so far. The
    // earlier strokes' marks and the nearest marked regions they give are kept, so
    // that a stroke costs about the same however many came before it. Nothing happens without a
    // preparation.
    void AddStroke(const SmartStroke& stroke, const QImage& photo);
    // Drops the strokes and the proposal.
    void Clear();

    const std::vector<SmartStroke>& Strokes() const { return strokes_; }
    const SmartProposal& Proposal() const { return proposal_; }

private:
    std::shared_ptr<const SmartPreparation> preparation_;
    std::vector<SmartStroke> strokes_;
    std::vector<std::uint8_t> marks_; // the strokes' marks so far (MarkStrokes)
    NearestMarked nearest_;           // and the nearest marked regions they give
    SmartProposal proposal_;
};
