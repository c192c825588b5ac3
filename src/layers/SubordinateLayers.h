#pragma once

#include "project/LayerRecord.h"

#include <optional>

class Workspace;

// Subordinate layers: the chooser of a master, and the menu item that links and
// releases.
class MasterChooser {
public:
    virtual ~MasterChooser() = default;
    // The names of all layers but the current one are offered, the preselected name
    // selected; the chosen name, or nothing when cancelled.
    virtual std::optional<QString> ChooseMasterLayer(const LayerList& layers, int current,
                                                     const QString& preselected) = 0;
};

// The layer shown in row k of the chooser when the current layer is left out.
inline int CandidateLayer(int row, int current) {
    return row < current ? row : row + 1;
}

// Releases a subordinate layer, or links it to a master the user chooses.
void ToggleSubordinate(Workspace& workspace, MasterChooser& chooser, int row);
