#pragma once
// Documents for the batch commands: the window of the tool a document
// belongs to, holding the document.
#include "model/tvorlwin.h"
#include "registry/tool_registry.h"

#include <memory>
#include <string>

namespace qx::batch {

// A window of the document's tool holding the document. 0, or the reader's
// code after an "error E: message" report on standard error.
int loadDocument(const std::string& path, std::unique_ptr<TVorlWin>& win, const ToolDescriptor*& tool);
// "error E: message" on standard error.
void reportFileError(int code);

} // namespace qx::batch
