// Slide-show files and the overlay section of documents: any bytes give a
// code and change nothing, and what was read writes back and reads again the same.
#include "model/overlay_section.h"
#include "model/slide_list.h"

#include <cstdlib>

namespace {

void slideShow(const std::vector<uint8_t>& bytes)
{
    qx::WindowPlacement p{1, 2, 3, 4, false};
    std::vector<qx::Slide> slides{qx::Slide{}};
    const int e = qx::decodeSlideShow(bytes, p, slides);
    if (e != 0) {
        if (e != 6 || slides.size() != 1 || p.x != 1)
            std::abort(); // a refused file changes nothing
        return;
    }
    const std::vector<uint8_t> once = qx::encodeSlideShow(p, slides);
    qx::WindowPlacement q;
    std::vector<qx::Slide> back;
    if (qx::decodeSlideShow(once, q, back) != 0 || qx::encodeSlideShow(q, back) != once)
        std::abort(); // what was read writes back and reads again the same
}

void overlaySection(const std::vector<uint8_t>& bytes)
{
    qx::ByteReader r(bytes);
    qx::OverlayState s;
    const int e = qx::readOverlaySection(r, s);
    if (e != 0)
        return;
    qx::ByteWriter w;
    qx::writeOverlaySection(w, s);
    const std::vector<uint8_t> once = w.take();
    qx::ByteReader again(once);
    qx::OverlayState t;
    if (qx::readOverlaySection(again, t) != 0)
        std::abort();
    qx::ByteWriter w2;
    qx::writeOverlaySection(w2, t);
    if (w2.take() != once)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<uint8_t> bytes(data, data + size);
    slideShow(bytes);
    overlaySection(bytes);
    return 0;
}
