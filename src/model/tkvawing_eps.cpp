// The EPS export command of TKVAWing: the picture drawn once more through
// the EPS canvas, one file per page, with the overwrite question asked once.
#include "model/tkvawing.h"

#include "base/messages.h"
#include "base/real_text.h"
#include "graphics/export/eps_canvas.h"

#include <filesystem>

namespace qx {

namespace {

constexpr const char* kEpsFilter = "EPS files (*.EPS)|*.eps";

// The page count of the EPS dialog: 0, or 1 / 6 / 17.
int readPageCount(const std::string& text, int& pages)
{
    int32_t n = 0;
    if (!parseIntText(text, n))
        return ErrCannotUnderstand;
    if (n < 1)
        return ErrInconsistentData;
    if (n > TKVAWing::kMaxEpsPages)
        return ErrOutOfBounds;
    pages = n;
    return 0;
}

} // namespace

void TKVAWing::exportEpsCommand()
{
    const std::string name = host().saveFileName(kEpsFilter, epsBaseName_ + ".eps");
    if (name.empty())
        return;
    std::string pages = "1";
    if (!host().inputText("EPS: pages", pages))
        return;
    const int e = exportEps(name, pages, [this](const std::string& q) { return host().askYesNo(q); });
    host().requestRepaint();
    if (e)
        host().showError(e);
    else
        host().showMessage("EPS file saved: " + bareName(epsBaseName_), "EPS");
}

int TKVAWing::exportEps(const std::string& path, const std::string& pagesText, const PageWriter::Ask& ask)
{
    int pages = 1;
    if (const int e = readPageCount(pagesText, pages))
        return e;
    if (!canExportEps())
        return 10; // nothing to show
    if (!prepareEps())
        return ErrCannotSaveFile;
    epsBaseName_ = withoutExtension(path);
    PageWriter writer(ask);
    return exportEpsPages(epsBaseName_, pages, writer) ? 0 : ErrCannotSaveFile;
}

bool TKVAWing::exportEpsPages(const std::string& base, int pages, PageWriter& writer)
{
    EpsSetup setup;
    setup.pages = pages;
    setup.dpi = attached() ? host().screenDpi() : 96;
    setup.creator = epsCreator_;
    setup.date = epsDateText();
    EpsLayout layout;
    if (!buildEpsLayout(view_, setup, layout))
        return false;
    for (int page = 0; page < pages; ++page) {
        const std::string file = pageFileName(base, page, pages, ".eps");
        setup.title = std::filesystem::path(file).filename().string();
        EpsCanvas canvas(view_, palette_, setup, layout);
        if (!drawEpsPage(canvas, page))
            return false;
        if (!writer.write(file, epsHeader(layout, setup) + canvas.text() + kEpsTrailer))
            return false;
    }
    return true;
}

} // namespace qx
