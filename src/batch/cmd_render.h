#pragma once
// quorvex-batch render: a Mandelbrot or Julia picture into a PNG or BMP file.
#include "batch/commands.h"

namespace qx::batch {

int runRender(const Args& args);

} // namespace qx::batch
