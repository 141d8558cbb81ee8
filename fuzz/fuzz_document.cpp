// Mandelbrot/Julia document reader: any bytes give a code; an accepted
// document writes back and reads again to the same bytes, and a window
// either takes it or refuses it with 6.
#include "tools/mandel/mj_document.h"
#include "tools/mandel/tjulwin.h"
#include "tools/mandel/tmanwin.h"

#include <cstdlib>

namespace {

void check(const std::vector<uint8_t>& bytes, int32_t kind)
{
    qx::MJDocument d;
    const int e = qx::decodeMJDocument(bytes, kind, d);
    if (e != 0 && e != 6 && e != 8 && e != 11)
        std::abort();
    if (e != 0)
        return;
    const std::vector<uint8_t> once = qx::encodeMJDocument(d);
    qx::MJDocument again;
    if (qx::decodeMJDocument(once, kind, again) != 0)
        std::abort();
    if (qx::encodeMJDocument(again) != once)
        std::abort();
    static qx::TManWin man;
    static qx::TJulWin jul;
    qx::TMJ0Win& win = kind == qx::kJuliaKind ? static_cast<qx::TMJ0Win&>(jul) : man;
    const int applied = win.applyDocument(d);
    if (applied != 0 && applied != 6)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<uint8_t> bytes(data, data + size);
    check(bytes, qx::kMandelKind);
    check(bytes, qx::kJuliaKind);
    return 0;
}
