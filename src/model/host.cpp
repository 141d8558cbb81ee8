#include "model/host.h"

#include "model/tvorlwin.h"
#include "graphics/bmp_reader.h"
#include "graphics/raster_canvas.h"

namespace qx {

std::unique_ptr<Canvas> Host::createCanvas(Image& target, const View& view, const Palette& palette)
{
    return std::make_unique<RasterCanvas>(target, view, palette);
}

int Host::readImageFile(const std::string& path, Image& out)
{
    return readPictureFile(path, out);
}

bool Host::openChildWindow(std::unique_ptr<TVorlWin>, const WindowPlacement&)
{
    return false;
}

} // namespace qx
