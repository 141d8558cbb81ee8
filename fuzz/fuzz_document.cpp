// Document readers (Mandelbrot, Julia, complex dynamic plane): any bytes
// give a code; an accepted document writes back and reads again to the same
// bytes, and a window either takes it or refuses it with 6.
#include "tools/mandel/mj_document.h"
#include "tools/mandel/tjulwin.h"
#include "tools/mandel/tmanwin.h"
#include "tools/maps/frac_document.h"
#include "tools/maps/tdycwin.h"
#include "tools/maps/tdyrwin.h"
#include "tools/maps/tparwin.h"
#include "tools/oned/tbifwin.h"
#include "tools/oned/tlyawin.h"
#include "tools/oned/twebwin.h"
#include "tools/curves/tsrfwin.h"
#include "tools/ifs/tifswin.h"

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

int decodeFrac(const std::vector<uint8_t>& bytes, int32_t kind, qx::FracDocument& d)
{
    qx::ByteReader r(bytes);
    qx::CommonHeader h;
    if (const int e = qx::readCommonHeader(r, kind, h))
        return e;
    return qx::decodeFracBody(r, h, d);
}

// The four map tools share one reader; each window checks what it takes.
void checkMaps(const std::vector<uint8_t>& bytes, int32_t kind, qx::TFracWin& win)
{
    qx::FracDocument d;
    const int e = decodeFrac(bytes, kind, d);
    if (e != 0 && e != 6 && e != 8 && e != 11)
        std::abort();
    if (e != 0)
        return;
    const std::vector<uint8_t> once = encodeFrac(d);
    qx::FracDocument again;
    if (decodeFrac(once, kind, again) != 0 || encodeFrac(again) != once)
        std::abort();
    const int applied = win.applyDocument(d);
    if (applied != 0 && applied != 6)
        std::abort();
}

// The one-dimensional tools read their bodies straight into a window: any
// bytes give a code, and an accepted body writes back to the same bytes.
template <typename Win>
void checkBody(const std::vector<uint8_t>& bytes)
{
    static Win win{};
    qx::ByteReader r(bytes);
    qx::CommonHeader h;
    if (win.readBody(r, h) != 0)
        return;
    qx::ByteWriter once;
    win.writeBody(once);
    static Win other{};
    qx::ByteReader again(once.data());
    if (other.readBody(again, h) != 0)
        std::abort();
    qx::ByteWriter twice;
    other.writeBody(twice);
    if (twice.data() != once.data())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<uint8_t> bytes(data, data + size);
    check(bytes, qx::kMandelKind);
    check(bytes, qx::kJuliaKind);
    static qx::TDycWin dyc{qx::TDycWin::Empty{}};
    static qx::TDyrWin dyr{qx::TDyrWin::Empty{}};
    static qx::TPpcWin ppc{qx::TPpcWin::Empty{}};
    static qx::TPprWin ppr{qx::TPprWin::Empty{}};
    checkMaps(bytes, qx::kDycKind, dyc);
    checkMaps(bytes, qx::kDyrKind, dyr);
    checkMaps(bytes, qx::kPpcKind, ppc);
    checkMaps(bytes, qx::kPprKind, ppr);
    checkBody<qx::TLyaWin>(bytes);
    checkBody<qx::TBifWin>(bytes);
    checkBody<qx::TWebWin>(bytes);
    checkBody<qx::TSRFWin>(bytes);
    checkBody<qx::TIfcWin>(bytes);
    checkBody<qx::TIfrWin>(bytes);
    return 0;
}
