#pragma once
// quorvex-batch render: the picture of a tool window into a PNG or BMP file.
#include "batch/commands.h"

namespace qx::batch {

int runRender(const Args& args);

} // namespace qx::batch
