#include "model/frame_settings.h"

#include "base/bytes.h"
#include "base/file_io.h"

namespace qx {

void writePlacement(ByteWriter& w, const WindowPlacement& p)
{
    w.i32(p.x);
    w.i32(p.y);
    w.i32(p.width);
    w.i32(p.height);
    w.u8(p.maximized ? 1 : 0);
}

bool readPlacement(ByteReader& r, WindowPlacement& p)
{
    WindowPlacement q;
    uint8_t max = 0;
    if (!(r.i32(q.x) && r.i32(q.y) && r.i32(q.width) && r.i32(q.height) && r.u8(max)) || max > 1)
        return false;
    q.maximized = max == 1;
    p = q;
    return true;
}

std::vector<uint8_t> encodeFrameSettings(const FrameSettings& s)
{
    ByteWriter w;
    writePlacement(w, s.placement);
    w.u8(s.openLast ? 1 : 0);
    w.u8(s.useDefaults ? 1 : 0);
    return w.take();
}

bool decodeFrameSettings(const std::vector<uint8_t>& bytes, FrameSettings& s)
{
    if (bytes.size() != kFrameSettingsBytes)
        return false;
    ByteReader r(bytes);
    FrameSettings t;
    uint8_t openLast = 0, useDefaults = 0;
    if (!readPlacement(r, t.placement) || !r.u8(openLast) || !r.u8(useDefaults))
        return false;
    // The two switches are never both on; a file that says so is damaged.
    if (openLast > 1 || useDefaults > 1 || (openLast && useDefaults))
        return false;
    t.openLast = openLast;
    t.useDefaults = useDefaults;
    s = t;
    return true;
}

bool readFrameSettings(const std::string& path, FrameSettings& s)
{
    std::vector<uint8_t> bytes;
    return readWholeFile(path, bytes, 4096) && decodeFrameSettings(bytes, s);
}

bool writeFrameSettings(const std::string& path, const FrameSettings& s)
{
    return writeFileAtomically(path, encodeFrameSettings(s));
}

bool placementFits(const WindowPlacement& p, int screenWidth, int screenHeight)
{
    return p.x >= 0 && p.y >= 0 && p.height >= 72 && p.width >= 120 &&
           static_cast<int64_t>(p.x) + p.width <= screenWidth &&
           static_cast<int64_t>(p.y) + p.height <= screenHeight;
}

WindowPlacement validatedPlacement(const WindowPlacement& p, int screenWidth, int screenHeight,
                                   unsigned r0, unsigned r1)
{
    if (placementFits(p, screenWidth, screenHeight))
        return p;
    return {static_cast<int32_t>(r1 % 30), static_cast<int32_t>(r0 % 30), 120, 72, false};
}

WindowPlacement defaultFramePlacement(unsigned r0, unsigned r1)
{
    return {static_cast<int32_t>(100 + r1 % 200), static_cast<int32_t>(20 + r0 % 40), 200, 120, false};
}

} // namespace qx
