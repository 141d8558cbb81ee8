#include "model/document_tail.h"

#include "model/common_header.h"

namespace qx {

void writeDocumentTail(ByteWriter& w, const DocumentTail& t)
{
    writeSlideList(w, t.slides);
    for (const std::string& s : t.seeds)
        w.fixedText(s, kSeedTextBytes);
    if (t.overlays)
        writeOverlaySection(w, *t.overlays);
}

int readDocumentTail(ByteReader& r, bool slides, bool seeds, bool further, DocumentTail& t)
{
    t.slides.clear();
    t.seeds = {};
    t.overlays.reset();
    if (slides && !readSlideList(r, t.slides))
        return kErrInconsistent;
    if (seeds)
        for (std::string& s : t.seeds)
            if (!r.fixedText(kSeedTextBytes, s))
                return kErrInconsistent;
    if (!further)
        return 0;
    OverlayState overlays;
    const int e = readOverlaySection(r, overlays);
    if (e == 0)
        t.overlays = std::move(overlays);
    return e == kOverlayForeign ? 0 : e;
}

} // namespace qx
