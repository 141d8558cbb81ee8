#pragma once
// Mandelbrot and Julia documents for the batch commands.
#include "tools/mandel/tmj0win.h"

#include <memory>
#include <string>

namespace qx::batch {

// A window of the document's kind (Mandelbrot unless the file says Julia or
// ends in .jul) holding the document. 0, or the reader's code; `win` is
// set either way so the caller can report against it.
int loadDocument(const std::string& path, std::unique_ptr<TMJ0Win>& win);
// "error E: message" on standard error.
void reportFileError(int code);
// The tool name of a window: "mandel" or "julia".
const char* toolName(const TMJ0Win& win);

} // namespace qx::batch
