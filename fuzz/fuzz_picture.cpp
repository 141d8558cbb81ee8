// The picture readers (Windows bitmap, PNG): any bytes give a code or a
// picture of the size the header says, never a crash or a read past the data.
#include "graphics/bmp_reader.h"
#include "graphics/png_reader.h"

#include <cstdlib>

namespace {

void check(int e, const qx::Image& img)
{
    if (e != 0 && e != 6 && e != 20)
        std::abort();
    if (e == 0 && (img.empty() || img.pixels.size() != static_cast<size_t>(img.width) * img.height))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<uint8_t> bytes(data, data + size);
    qx::Image bmp, png;
    check(qx::decodeBmp(bytes, bmp), bmp);
    check(qx::decodePng(bytes, png), png);
    return 0;
}
