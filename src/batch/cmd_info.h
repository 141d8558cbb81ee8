#pragma once
// quorvex-batch info: the kind, version and main parameters of a document.
#include "batch/commands.h"

namespace qx::batch {

int runInfo(const Args& args);

} // namespace qx::batch
