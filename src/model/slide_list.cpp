#include "model/slide_list.h"

#include "base/messages.h"
#include "model/frame_settings.h"

namespace qx {

void writeSlideList(ByteWriter& w, const std::vector<Slide>& slides, int extras)
{
    w.i32(static_cast<int32_t>(slides.size()));
    for (const Slide& s : slides) {
        w.i32(s.maxReps);
        w.real(s.centerX);
        w.real(s.centerY);
        w.real(s.halfWidth);
        w.real(s.c.re);
        w.real(s.c.im);
        for (size_t k = 0; k < static_cast<size_t>(extras); ++k)
            w.real(k < s.extra.size() ? s.extra[k] : 0);
    }
}

bool readSlideList(ByteReader& r, std::vector<Slide>& slides, int extras)
{
    if (extras < 0 || extras > 16)
        return false;
    const size_t kSlideBytes = 4 + (5 + static_cast<size_t>(extras)) * 10;
    int32_t n = 0;
    if (!r.i32(n) || n < 0 || n > kMaxSlides || static_cast<size_t>(n) * kSlideBytes > r.remaining())
        return false;
    slides.assign(static_cast<size_t>(n), {});
    for (Slide& s : slides) {
        if (!r.i32(s.maxReps) || !r.real(s.centerX) || !r.real(s.centerY) || !r.real(s.halfWidth) ||
            !r.real(s.c.re) || !r.real(s.c.im))
            return false;
        s.extra.resize(static_cast<size_t>(extras));
        for (Real& v : s.extra)
            if (!r.real(v))
                return false;
    }
    return true;
}

std::vector<uint8_t> encodeSlideShow(const WindowPlacement& placement, const std::vector<Slide>& slides, int extras)
{
    ByteWriter w;
    w.i16(kSlideShowMark);
    writePlacement(w, placement);
    w.u8(0);
    writeSlideList(w, slides, extras);
    return w.take();
}

int decodeSlideShow(const std::vector<uint8_t>& bytes, WindowPlacement& placement, std::vector<Slide>& slides,
                    int extras)
{
    ByteReader r(bytes);
    int16_t mark = 0;
    uint8_t reserved = 0;
    WindowPlacement p;
    std::vector<Slide> s;
    if (!r.i16(mark) || mark != kSlideShowMark || !readPlacement(r, p) || !r.u8(reserved) || !readSlideList(r, s, extras) ||
        r.remaining() != 0)
        return ErrInconsistentData;
    placement = p;
    slides = std::move(s);
    return 0;
}

} // namespace qx
