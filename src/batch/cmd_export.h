#pragma once
#include "batch/commands.h"

namespace qx::batch {

// quorvex-batch export: writes the vector picture of a window as EPS.
int runExport(const Args& args);

} // namespace qx::batch
