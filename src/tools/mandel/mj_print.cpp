#include "tools/mandel/mj_print.h"

#include <cstddef>

namespace qx {

PixelColour blackAndWhitePixel(int32_t code, DisplayMode mode, const ColourTable& table, int col, int row,
                               bool specialWhite)
{
    if (code < 0)
        return specialWhite ? PixelColour{kWhite, kCodeWhite} : PixelColour{kBlack, kCodeBlack};
    const int b = code - table.length();
    int gray = 0;
    if (mode == DisplayMode::Binary)
        gray = (b >= 0 && b < kBinaryColours) ? kBinaryShades[static_cast<size_t>(b)] : 0;
    else if (table.grayLength() > 0)
        gray = table.grays[static_cast<size_t>(code % table.grayLength())];
    return {ditherWhite(gray, col, row) ? kWhite : kBlack, code};
}

} // namespace qx
