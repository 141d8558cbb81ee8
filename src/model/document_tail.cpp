#include "model/document_tail.h"

#include "model/common_header.h"

#include <algorithm>

namespace qx {

void writeDocumentTail(ByteWriter& w, const DocumentTail& t)
{
    writeSlideList(w, t.slides, t.slideExtras);
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
    if (slides && !readSlideList(r, t.slides, t.slideExtras))
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

int readWholeTail(ByteReader& r, DocumentTail& t)
{
    if (const int e = readDocumentTail(r, true, true, true, t))
        return e;
    return t.overlays && r.remaining() > 0 ? kErrInconsistent : 0;
}

std::vector<Seed> tailSeeds(const DocumentTail& t, int count, const SeedReader& read)
{
    std::vector<Seed> seeds;
    count = std::clamp(count, 0, kSeedTexts);
    for (int i = 0; i < count; ++i) {
        const std::string& text = t.seeds[static_cast<size_t>(i)];
        Complex v;
        if (!read(text, v))
            break;
        seeds.push_back({v, text});
    }
    return seeds;
}

void setTailSeeds(DocumentTail& t, const std::vector<Seed>& seeds)
{
    for (size_t i = 0; i < t.seeds.size(); ++i)
        t.seeds[i] = i < seeds.size() ? seeds[i].text : std::string();
}

} // namespace qx
