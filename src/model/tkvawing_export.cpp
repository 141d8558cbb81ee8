// The export commands of TKVAWing: for every format of the table, the
// picture drawn once more through the format's canvas, one file per page,
// with the overwrite question asked once and Q between pages.
#include "model/tkvawing.h"

#include "base/messages.h"
#include "base/real_text.h"
#include "expr/format.h"
#include "model/dialog_form.h"

#include <algorithm>
#include <array>
#include <filesystem>

#include "model/drawing_job.h"

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

// The page loop on a worker; the window waits for it in tick() and reports.
class TKVAWing::ExportJob final : public DrawingJob {
public:
    ExportJob(TKVAWing& win, ExportPlan plan, bool overwrite, int& status)
        : win_(win), plan_(std::move(plan)), overwrite_(overwrite), status_(status)
    {
    }
    int run(DrawingOutput& out, const std::atomic<bool>& stop) override
    {
        win_.exportStop_ = &stop;
        // The overwrite question was asked before the job began.
        PageWriter writer([this](const std::string&) { return overwrite_; });
        out.setProgress(0, plan_.pages);
        status_ = win_.runExport(
            plan_, writer, [&stop] { return stop.load(); },
            [&out, this](int done) { out.setProgress(done, plan_.pages); });
        if (status_ == 0 && !writePageList(plan_.format->list, plan_.base, plan_.pages))
            status_ = ErrCannotSaveFile;
        win_.exportStop_ = nullptr;
        return 0;
    }

private:
    TKVAWing& win_;
    ExportPlan plan_;
    bool overwrite_;
    int& status_;
};

TKVAWing::~TKVAWing()
{
    // A tool's levels are gone by now: the owner stops a running export
    // first (abandonExport); this only makes sure no job outlives the window.
    abandonExport();
}

void TKVAWing::abandonExport()
{
    if (!exportJob_)
        return;
    exportJob_->runner.interrupt();
    exportJob_->runner.wait();
    exportJob_.reset();
}

namespace {

// The settings dialog of an export: "SVG" (TSVGDlg) in its EPS, SVG, BMP and
// EMF kinds, "PICTEX" (TTeXDlg) for PiCTeX. The page count and the page
// parameter for every format; the header size for SVG; the kind, box number
// and width for PiCTeX. Nothing changes unless every entry is good.
class ExportSettingsForm : public DialogForm {
public:
    ExportSettingsForm(TKVAWing& win, const ExportFormat& format, TKVAWing::ExportPageTexts& texts)
        : win_(win), format_(format), texts_(texts)
    {
    }
    std::string name() const override { return tex() ? "PICTEX" : "SVG"; }
    std::string title() const override
    {
        const std::string n = format_.name;
        return n == "svg" ? "SVG settings" : tex() ? "PiCTeX setup" : format_.label;
    }
    FormState load() const override
    {
        FormState s;
        if (svg()) {
            s.fields.push_back({"width", std::to_string(win_.svgWidth() ? win_.svgWidth() : win_.view().pixWidth)});
            s.fields.push_back({"height", std::to_string(win_.svgHeight() ? win_.svgHeight() : win_.view().pixHeight)});
        } else if (tex()) {
            s.fields.push_back({"width (cm)", FormatReal(win_.texWidthCm(), 1, 2)});
            s.fields.push_back({"box number", std::to_string(win_.texBox())});
            s.fields.push_back({"kind", kTexKinds[static_cast<size_t>(std::clamp(win_.texKind(), 0, 3))], false,
                                FieldKind::Radio, {kTexKinds.begin(), kTexKinds.end()}});
            s.fields.push_back({"whitespace radius", FormatReal(win_.texWhitespace(), 1, 2)});
        }
        s.fields.push_back({"pages", texts_.pages});
        s.fields.push_back({"parameters", texts_.directive});
        return s;
    }
    int apply(const std::vector<std::string>& t, int) override
    {
        const size_t first = svg() ? 2 : tex() ? 4 : 0;
        if (t.size() < first + 2)
            return ErrInconsistentData;
        int pages = 1;
        if (const int e = readPageCount(t[first], pages))
            return e;
        std::string letters;
        if (pages > 1 && win_.pageDirective(t[first + 1], letters) < 1)
            return ErrCouldNotFind;
        if (svg()) {
            int32_t w = 0, h = 0;
            if (!parseIntText(t[0], w) || !parseIntText(t[1], h))
                return ErrCannotUnderstand;
            if (const int e = win_.setSvgSize(w, h))
                return e;
        } else if (tex()) {
            Real width = 0, whitespace = 0;
            int32_t box = 0;
            if (!parseRealText(t[0], width) || !parseIntText(t[1], box) || !parseRealText(t[3], whitespace))
                return ErrCannotUnderstand;
            const auto kind = std::find(kTexKinds.begin(), kTexKinds.end(), t[2]);
            if (kind == kTexKinds.end())
                return ErrCannotUnderstand;
            if (!(whitespace >= 0 && whitespace <= 10))
                return ErrOutOfBounds;
            if (const int e = win_.setTexSettings(static_cast<int>(kind - kTexKinds.begin()), box, width))
                return e;
            win_.setTexWhitespace(whitespace);
        }
        texts_.pages = t[first];
        texts_.directive = t[first + 1];
        return 0;
    }

private:
    static constexpr std::array<const char*, 4> kTexKinds{"TeX standalone", "LaTeX2e standalone", "TeX compilable",
                                                          "TeX insertable"};
    bool svg() const { return std::string(format_.name) == "svg"; }
    bool tex() const { return std::string(format_.name) == "tex"; }
    TKVAWing& win_;
    const ExportFormat& format_;
    TKVAWing::ExportPageTexts& texts_;
};

} // namespace

void TKVAWing::exportCommand(const ExportFormat& format)
{
    if (exporting())
        return;
    const std::string name = host().saveFileName(format.filter, exportBaseName_ + format.extension);
    if (name.empty())
        return;
    ExportPageTexts& texts = exportPageTexts_[format.name];
    ExportSettingsForm form(*this, format, texts);
    if (!host().runModalForm(form))
        return;
    if (const int e = startExport(format, name, texts.pages, [this](const std::string& q) { return host().askYesNo(q); },
                                  texts.directive))
        host().showError(e);
}

int TKVAWing::pageDirective(const std::string& text, std::string& letters) const
{
    return pageDirectiveKind(text, letters) == 1 ? 1 : 0;
}

int TKVAWing::startExport(const ExportFormat& format, const std::string& path, const std::string& pagesText,
                          const PageWriter::Ask& ask, const std::string& directive)
{
    if (exporting())
        return ErrNothingToDo;
    ExportPlan plan;
    if (const int e = planExport(format, path, pagesText, directive, plan))
        return e;
    // The question a run asks once, for its first page, asked here on the
    // user's thread before anything is written.
    std::error_code ec;
    bool overwrite = false;
    if (std::filesystem::exists(pageFileName(plan.base, 0, plan.pages, format.extension), ec)) {
        if (!ask || !ask("overwrite existing file?"))
            return ErrCannotSaveFile;
        overwrite = true;
    }
    exportJob_ = std::make_unique<ExportJobState>();
    exportJob_->label = format.label;
    exportJob_->saved = format.savedMessage();
    exportJob_->animated = plan.kind > 0;
    exportJob_->runner.start(std::make_unique<ExportJob>(*this, std::move(plan), overwrite, exportJob_->status));
    if (attached())
        host().backgroundWorkStarted();
    return 0;
}

std::pair<long long, long long> TKVAWing::exportProgress() const
{
    return exportJob_ ? exportJob_->runner.output().progress() : std::pair<long long, long long>{0, 0};
}

bool TKVAWing::exportFinished() const
{
    return !exportJob_ || exportJob_->runner.finished();
}

void TKVAWing::interruptExport()
{
    if (exportJob_)
        exportJob_->runner.interrupt();
}

void TKVAWing::finishExport()
{
    if (!exportJob_)
        return;
    exportJob_->runner.wait();
    const std::unique_ptr<ExportJobState> done = std::move(exportJob_);
    if (done->animated)
        viewChanged(); // the window shows the state the last page left
    host().requestRepaint();
    if (done->status)
        host().showError(done->status);
    else
        host().showMessage(done->saved + ": " + bareName(exportBaseName_), done->label);
}

bool TKVAWing::exportStopped() const
{
    if (exportStop_)
        return exportStop_->load(std::memory_order_relaxed);
    if (!exportStopSeen_ && attached() && host().pollInterrupt() == 'Q')
        exportStopSeen_ = true;
    return exportStopSeen_;
}

int TKVAWing::planExport(const ExportFormat& format, const std::string& path, const std::string& pagesText,
                         const std::string& directive, ExportPlan& plan)
{
    if (const int e = readPageCount(pagesText, plan.pages))
        return e;
    plan.kind = plan.pages > 1 ? pageDirective(directive, plan.letters) : 0;
    if (plan.pages > 1 && plan.kind < 1)
        return ErrCouldNotFind;
    if (!canExport(format))
        return 10; // nothing to show
    if (!prepareExport())
        return ErrCannotSaveFile;
    exportBaseName_ = withoutExtension(path);
    plan.format = &format;
    plan.base = exportBaseName_;
    plan.dpi = attached() ? host().screenDpi() : 96;
    return 0;
}

int TKVAWing::exportPages(const ExportFormat& format, const std::string& path, const std::string& pagesText,
                          const PageWriter::Ask& ask, const std::string& directive)
{
    ExportPlan plan;
    if (const int e = planExport(format, path, pagesText, directive, plan))
        return e;
    PageWriter writer(ask);
    exportStopSeen_ = false;
    if (const int e = runExport(plan, writer, [this] { return exportStopped(); }))
        return e; // no list after a failed page
    return writePageList(format.list, exportBaseName_, plan.pages) ? 0 : ErrCannotSaveFile;
}

int TKVAWing::exportEps(const std::string& path, const std::string& pagesText, const PageWriter::Ask& ask,
                        const std::string& directive)
{
    return exportPages(*ExportFormats::builtIn().byName("eps"), path, pagesText, ask, directive);
}

// The page loop: each page drawn on a fresh canvas of the format and written
// whole; a page that fails, or Q pressed meanwhile, ends the run.
int TKVAWing::runExport(const ExportPlan& plan, PageWriter& writer, const std::function<bool()>& stop,
                        const std::function<void(int)>& pageDone)
{
    ExportRun run;
    run.pages = plan.pages;
    run.dpi = plan.dpi;
    run.creator = exportCreator_;
    run.date = longDateText();
    run.svgWidth = svgWidth_;
    run.svgHeight = svgHeight_;
    run.texKind = texKind_;
    run.texBox = texBox_;
    run.texWidthCm = texWidthCm_;
    run.texWhitespace = texWhitespace_;
    const ExportFormat& format = *plan.format;
    for (int page = 0; page < plan.pages; ++page) {
        if (plan.pages > 1) {
            animatePage(page, plan.pages, plan.kind, plan.letters);
            run.pageZoom = run.frameHalfWidth / view_.halfWidth; // this page's view on the shared frame
        }
        const std::string file = pageFileName(plan.base, page, plan.pages, format.extension);
        const std::string title = std::filesystem::path(file).filename().string();
        std::unique_ptr<PageCanvas> canvas = format.makePage(view_, palette_, run, page, title);
        if (!canvas || !drawExportPage(*canvas, page) || !writer.write(file, canvas->pageFile()))
            return ErrCannotSaveFile;
        if (pageDone)
            pageDone(page + 1);
        if (page + 1 < plan.pages && stop())
            return ErrCannotSaveFile;
    }
    return 0;
}

} // namespace qx
