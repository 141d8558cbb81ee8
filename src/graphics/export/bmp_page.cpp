#include "graphics/export/bmp_page.h"

#include "graphics/export/bmp_writer.h"

#include <algorithm>
#include <cmath>

namespace qx {

std::unique_ptr<PageCanvas> makeBmpPage(const View& view, const Palette& palette, const ExportRun&, int,
                                        const std::string&)
{
    if (view.pixWidth < 1 || view.pixHeight < 1 || view.pixWidth > kMaxPictureSide || view.pixHeight > kMaxPictureSide)
        return nullptr;
    return std::make_unique<BmpPageCanvas>(view, palette);
}

BmpPageCanvas::BmpPageCanvas(const View& view, const Palette& palette)
    : PageCanvas(view, palette), image_(view.pixWidth, view.pixHeight, paletteColour(palette, 0)),
      raster_(image_, view, palette)
{
}

std::string BmpPageCanvas::pageFile() const
{
    const std::vector<uint8_t> bytes = encodeBmp({image_.width, image_.height, image_.pixels.data()});
    return {bytes.begin(), bytes.end()};
}

bool BmpPageCanvas::placePicture(const Image& picture, WorldPoint topLeft, WorldPoint bottomRight)
{
    if (picture.empty())
        return false;
    const View& v = view();
    const long left = std::lround(static_cast<double>(v.xToPixelF(topLeft.x)));
    const long top = std::lround(static_cast<double>(v.yToPixelF(topLeft.y)));
    const long right = std::lround(static_cast<double>(v.xToPixelF(bottomRight.x)));
    const long bottom = std::lround(static_cast<double>(v.yToPixelF(bottomRight.y)));
    const long w = std::max(1L, right - left + 1), h = std::max(1L, bottom - top + 1);
    for (long r = std::max(0L, top); r < std::min<long>(image_.height, top + h); ++r)
        for (long c = std::max(0L, left); c < std::min<long>(image_.width, left + w); ++c) {
            const long sc = (c - left) * picture.width / w, sr = (r - top) * picture.height / h;
            image_.set(static_cast<int>(c), static_cast<int>(r), picture.at(static_cast<int>(sc), static_cast<int>(sr)));
        }
    return true;
}

} // namespace qx
