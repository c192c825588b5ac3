#pragma once

#include "project/Document.h"

// Copies a scheme's records back into the layers by name: every layer whose name
// equals a record's takes the whole record; other layers keep their settings and
// records without a layer are ignored. The mask's lock flags follow the layers.
void ApplySchemeRecords(Document& doc, const SchemeRecord& scheme);
