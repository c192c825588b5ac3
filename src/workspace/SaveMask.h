#pragma once

#include "project/Document.h"

class Prompts;

enum class SaveResult { Saved, NothingToSave, Failed };

// Writes the open project's mask file with its layers and schemes, then its
// references beside it, and tells the user how it went. Modified is cleared only
// when both were written whole.
SaveResult SaveMask(Document& doc, Prompts& prompts);
