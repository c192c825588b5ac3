#pragma once

#include "project/Document.h"
#include "project/Progress.h"
#include "workspace/Prompts.h"

#include <QString>

#include <functional>

// Saving a PDF for the customer (the paint order, the colour proposal): the save
// dialog offers "NAME" + nameEnding beside the project, in the folder the last such
// PDF went to, and write makes the file while a bar titled work shows its progress.
// "Není co ukládat" without a project; false when cancelled or refused.
bool SaveCustomerPdf(const Document& doc, Prompts& prompts, const QString& nameEnding,
                     const QString& work,
                     const std::function<void(const QString& path, Progress& progress)>& write);
