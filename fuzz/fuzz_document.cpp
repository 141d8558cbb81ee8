// Document readers (Mandelbrot, Julia, complex dynamic plane): any bytes
// give a code; an accepted document writes back and reads again to the same
// bytes, and a window either takes it or refuses it with 6.
#include "tools/mandel/mj_document.h"
#include "tools/mandel/tjulwin.h"
#include "tools/mandel/tmanwin.h"
#include "tools/maps/frac_document.h"
#include "tools/maps/tdycwin.h"

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

std::vector<uint8_t> encodeFrac(const qx::FracDocument& d)
{
    qx::ByteWriter w;
    qx::CommonHeader h = d.header;
    h.version = qx::kFileVersion;
    h.extraGroups = 0;
    qx::writeCommonHeader(w, h);
    qx::encodeFracBody(w, d);
    return w.take();
}

int decodeFrac(const std::vector<uint8_t>& bytes, qx::FracDocument& d)
{
    qx::ByteReader r(bytes);
    qx::CommonHeader h;
    if (const int e = qx::readCommonHeader(r, qx::kDycKind, h))
        return e;
    return qx::decodeFracBody(r, h, d);
}

void checkDyc(const std::vector<uint8_t>& bytes)
{
    qx::FracDocument d;
    const int e = decodeFrac(bytes, d);
    if (e != 0 && e != 6 && e != 8 && e != 11)
        std::abort();
    if (e != 0)
        return;
    const std::vector<uint8_t> once = encodeFrac(d);
    qx::FracDocument again;
    if (decodeFrac(once, again) != 0 || encodeFrac(again) != once)
        std::abort();
    static qx::TDycWin win{qx::TDycWin::Empty{}};
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
    checkDyc(bytes);
    return 0;
}
