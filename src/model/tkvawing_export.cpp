// The export commands of TKVAWing: for every format of the table, the
// picture drawn once more through the format's canvas, one file per page,
// with the overwrite question asked once and Q between pages.
#include "model/tkvawing.h"

#include "base/messages.h"
#include "base/real_text.h"

#include <filesystem>

namespace qx {

namespace {

// The page count of the export dialog: 0, or 1 / 6 / 17.
int readPageCount(const std::string& text, int& pages)
{
    int32_t n = 0;
    if (!parseIntText(text, n))
        return ErrCannotUnderstand;
    if (n < 1)
        return ErrInconsistentData;
    if (n > TKVAWing::kMaxExportPages)
        return ErrOutOfBounds;
    pages = n;
    return 0;
}

} // namespace

void TKVAWing::exportCommand(const ExportFormat& format)
{
    const std::string name = host().saveFileName(format.filter, exportBaseName_ + format.extension);
    if (name.empty())
        return;
    std::string pages = "1";
    if (!host().inputText(std::string(format.label) + ": pages", pages))
        return;
    std::string directive;
    int32_t count = 0;
    if (parseIntText(pages, count) && count > 1 &&
        !host().inputText(std::string(format.label) + ": parameter", directive))
        return;
    const int e = exportPages(format, name, pages, [this](const std::string& q) { return host().askYesNo(q); },
                              directive);
    host().requestRepaint();
    if (e)
        host().showError(e);
    else
        host().showMessage(std::string(format.label) + " file saved: " + bareName(exportBaseName_), format.label);
}

int TKVAWing::exportPages(const ExportFormat& format, const std::string& path, const std::string& pagesText,
                          const PageWriter::Ask& ask, const std::string& directive)
{
    int pages = 1;
    if (const int e = readPageCount(pagesText, pages))
        return e;
    std::string letters;
    const int kind = pages > 1 ? pageDirectiveKind(directive, letters) : 0;
    if (pages > 1 && kind < 1)
        return ErrCouldNotFind;
    if (!canExport(format))
        return 10; // nothing to show
    if (!prepareExport())
        return ErrCannotSaveFile;
    exportBaseName_ = withoutExtension(path);
    PageWriter writer(ask);
    if (!writePages(format, exportBaseName_, pages, writer, kind, letters))
        return ErrCannotSaveFile; // no list after a failed page
    return writePageList(format.list, exportBaseName_, pages) ? 0 : ErrCannotSaveFile;
}

int TKVAWing::exportEps(const std::string& path, const std::string& pagesText, const PageWriter::Ask& ask,
                        const std::string& directive)
{
    return exportPages(*ExportFormats::builtIn().byName("eps"), path, pagesText, ask, directive);
}

// The page loop: each page drawn on a fresh canvas of the format and written
// whole; a page that fails, or Q pressed meanwhile, ends the run.
bool TKVAWing::writePages(const ExportFormat& format, const std::string& base, int pages, PageWriter& writer,
                          int kind, const std::string& letters)
{
    ExportRun run;
    run.pages = pages;
    run.dpi = attached() ? host().screenDpi() : 96;
    run.creator = exportCreator_;
    run.date = longDateText();
    for (int page = 0; page < pages; ++page) {
        if (pages > 1) {
            animatePage(page, pages, kind, letters);
            run.pageZoom = run.frameHalfWidth / view_.halfWidth; // this page's view on the shared frame
        }
        const std::string file = pageFileName(base, page, pages, format.extension);
        const std::string title = std::filesystem::path(file).filename().string();
        std::unique_ptr<PageCanvas> canvas = format.makePage(view_, palette_, run, page, title);
        if (!canvas || !drawExportPage(*canvas, page) || !writer.write(file, canvas->pageFile()))
            return false;
        if (page + 1 < pages && attached() && host().pollInterrupt() == 81)
            return false;
    }
    return true;
}

} // namespace qx
