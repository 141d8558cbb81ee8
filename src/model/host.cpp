#include "model/host.h"

#include "model/tvorlwin.h"
#include "graphics/raster_canvas.h"

namespace qx {

std::unique_ptr<Canvas> Host::createCanvas(Image& target, const View& view, const Palette& palette)
{
    return std::make_unique<RasterCanvas>(target, view, palette);
}

bool Host::openChildWindow(std::unique_ptr<TVorlWin>, const WindowPlacement&)
{
    return false;
}

} // namespace qx
