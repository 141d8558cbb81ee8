#pragma once
// Graphics window model: the view and its commands, the palette, and the
// command/menu plumbing every tool window shares. A model talks to its
// window only through Host; attach() must come before any other call.
#include "model/command_table.h"
#include "model/drawing_job.h"
#include "model/host.h"
#include "model/view_dialogs.h"
#include "graphics/colour.h"
#include "graphics/export/export_format.h"
#include "graphics/export/page_writer.h"
#include "graphics/view.h"
#include "graphics/view_ops.h"

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string_view>

namespace qx {

// One page of a window's help: the menu it explains and its text.
struct HelpPage {
    const char* menu;
    std::string_view text;
};

class TKVAWing {
public:
    TKVAWing();
    virtual ~TKVAWing();
    TKVAWing(const TKVAWing&) = delete;
    TKVAWing& operator=(const TKVAWing&) = delete;

    // The host outlives the model (it owns it).
    void attach(Host& host) { host_ = &host; }
    bool attached() const { return host_ != nullptr; }
    // Called by the host once after attach() and the first resize().
    virtual void setUp() {}
    // A child window (zoom window, Julia child) takes its parent's drawing
    // settings: each level of the chain copies its own fields and passes on.
    virtual void copyDrawingSettings(const TKVAWing& from) { palette_ = from.palette_; }

    // Commands: every level declares its own once (declareCommands); the
    // set is built at first use. handleCommand runs a declared command and
    // returns false for an id nobody declared; after a Toggle or Radio
    // command the host reads the check marks again.
    bool handleCommand(int id);
    MenuBar menuBar() const;
    // Check state of a Toggle or Radio command (false for any other id).
    bool isChecked(int id) const;

    // ---- View.
    const View& view() const { return view_; }
    const Palette& palette() const { return palette_; }
    Palette& palette() { return palette_; }
    virtual void recomputeView();
    // New drawing-area size in pixels (from the host's resize).
    virtual void resize(int width, int height);
    // After any change of the shown rectangle (dialogs, zoom, shift, last).
    virtual void viewChanged() {}

    // VIEWCEN / VIEWCOR: which one the "View ..." command shows, their
    // current texts, and "apply" (0, or the code of the bad field; nothing
    // changes on an error). Apply pushes the old view for "Last window".
    bool viewDialogByCorners() const { return view_.byCorners; }
    ViewCenterTexts currentViewCenterTexts() const { return viewCenterTexts(view_); }
    ViewCornerTexts currentViewCornerTexts() const { return viewCornerTexts(view_); }
    int applyViewByCenter(const ViewCenterTexts& texts);
    int applyViewByCorners(const ViewCornerTexts& texts);
    // The zoom out/in step (default 1.1; must exceed 1).
    Real zoomStep() const { return zoomStep_; }
    int setZoomStep(const std::string& text); // 0, 1 or 17
    int shiftBy(const std::string& horiText, const std::string& vertText); // 0, 1, 1001
    void zoomOut();
    void zoomIn();
    bool lastWindow(); // false when there is none
    // Set the view by centre and half-width from code (tools, child windows).
    bool setView(Real cx, Real cy, Real halfWidth);

    // ---- Export (tkvawing_export.cpp), one path for every format of the table.
    // The format's menu item: the file name, the page count, the pages; then
    // the format's saved message ("EPS file saved", "EMF saved") with the base name, or the
    // message of the failure.
    void exportCommand(const ExportFormat& format);
    // "PiCTeX setup": the kind of TeX file (0..3), the box number (0..255,
    // for the standalone kinds) and the width in centimetres. 0, or 17 for a
    // value out of range (nothing changes).
    int setTexSettings(int kind, int box, Real widthCm);
    int texKind() const { return texKind_; }
    int texBox() const { return texBox_; }
    Real texWidthCm() const { return texWidthCm_; }
    // "whitespace radius" of PiCTeX files: 0 (off) to 10 letters; else 17, nothing changes.
    int setTexWhitespace(Real factor);
    Real texWhitespace() const { return texWhitespace_; }
    // The size SVG headers give; 0 for the window's pixel size.
    int svgWidth() const { return svgWidth_; }
    int svgHeight() const { return svgHeight_; }
    // The page count and page parameter an export dialog shows, kept per format.
    struct ExportPageTexts {
        std::string pages = "1";
        std::string directive;
    };
    // "SVG settings": the width and height the SVG header gives (0: the
    // window's); each at least 10, else 17 (nothing changes). Coordinates stay
    // window pixels, so another size crops or leaves room.
    int setSvgSize(int width, int height);
    // Writes the picture as page(s) of `format` named from `path` (its
    // extension is replaced by the format's); `ask` answers the overwrite
    // question, asked once. Q between pages stops the run. Returns 0, 10
    // (the window has no picture of the format's kind), 12 (a page was not
    // written, or Q), or 1 / 6 / 17 for a page count that is not a number,
    // below 1 or above 999999.
    // With more than one page, `directive` says what changes from page to
    // page (pageDirectiveKind); an unknown one is 2 "could not find".
    int exportPages(const ExportFormat& format, const std::string& path, const std::string& pagesText,
                    const PageWriter::Ask& ask, const std::string& directive = {});
    // exportPages for the EPS row.
    int exportEps(const std::string& path, const std::string& pagesText, const PageWriter::Ask& ask,
                  const std::string& directive = {});
    // Whether the window has a picture the format takes (default: none).
    virtual bool canExport(const ExportFormat& /*format*/) const { return false; }
    // Called before the first page; false ends the export.
    virtual bool prepareExport() { return true; }
    // Draws page `page` on the format's canvas, the same for every format;
    // false fails the page.
    virtual bool drawExportPage(Canvas& /*canvas*/, int /*page*/) { return false; }
    // Before page `page` of a run of `pages` (> 1) with directive `kind` and
    // the animated `letters`: move what the directive animates to its value
    // for the page. Tools with their own directives (2..4) override it.
    virtual void animatePage(int /*page*/, int /*pages*/, int /*kind*/, const std::string& /*letters*/) {}
    // The window's check of a page directive: 1 for letters A..W (they go to
    // `letters`), 2 \REPS, 3 \PROM, 4 \ZOOM where the tool has them, 0 for
    // what it does not know ("could not find"). This base knows the letters.
    virtual int pageDirective(const std::string& text, std::string& letters) const;
    const std::string& exportBaseName() const { return exportBaseName_; }
    static constexpr int kMaxExportPages = 999999;
    // The export command's run: the page loop as a background job, while the
    // window only shows its picture; Q stops it between pages and inside a
    // tool's long page drawing (exportStopped).
    bool exporting() const { return exportJob_ != nullptr; }
    // Starts the run of exportCommand (after its dialogs): 0, or the code of
    // exportPages' checks; the overwrite question is asked here, at once.
    int startExport(const ExportFormat& format, const std::string& path, const std::string& pagesText,
                    const PageWriter::Ask& ask, const std::string& directive = {});
    // Pages written and pages of the running export.
    std::pair<long long, long long> exportProgress() const;
    bool exportFinished() const;
    void interruptExport();
    // Waits for the export job and reports "... file saved" or the error.
    void finishExport();
    // Stops a running export and waits for it, without a word (before the
    // window goes: the job draws through the window's levels).
    void abandonExport();
    // The formats the window's menus and export commands offer.
    const ExportFormats& exportFormats() const { return *formats_; }
    void setExportFormats(const ExportFormats& formats)
    {
        formats_ = &formats;
        commands_.reset();
    }

protected:
    // Each level adds its commands to `set` after calling its base's
    // declareCommands, so the menus come out base first.
    virtual void declareCommands(CommandSet& set);
    // For a tool's long drawing inside drawExportPage: true once the export
    // is to stop (Q); what was drawn stays on the page.
    bool exportStopped() const;
    // The running export job's stop flag, or null outside one.
    const std::atomic<bool>* exportStopFlag() const { return exportStop_; }
    // The Help menu: one item per page, ids from `firstId` on, named like the
    // menu it explains; it shows the text in a text window "help: Menu".
    void declareHelp(CommandSet& set, int firstId, std::span<const HelpPage> pages);
    Host& host() const { return *host_; }
    // Push the current view on the history, then run `change`; on success
    // recompute and call viewChanged(), else restore.
    template <class F> bool changeView(F change);

    View view_;
    Palette palette_;
    ViewHistory history_;
    Real zoomStep_ = 1.1L;
    std::string exportBaseName_ = "noname";
    std::string exportCreator_ = "Zumbar";
    int texKind_ = 0, texBox_ = 0;
    int svgWidth_ = 0, svgHeight_ = 0;
    std::map<std::string, ExportPageTexts> exportPageTexts_; // by format name
    Real texWidthCm_ = 8;
    Real texWhitespace_ = 0;
    const ExportFormats* formats_ = &ExportFormats::builtIn();

private:
    // One export run, checked and ready for its page loop.
    struct ExportPlan {
        const ExportFormat* format = nullptr;
        std::string base;
        int pages = 1;
        int kind = 0;
        std::string letters;
        Real dpi = 96;
    };
    class ExportJob;
    // 0, or the code of a bad page count, a missing directive, nothing to
    // export (10) or a failed preparation (12).
    int planExport(const ExportFormat& format, const std::string& path, const std::string& pagesText,
                   const std::string& directive, ExportPlan& plan);
    // The page loop; `stop` is looked at between pages. 0, or 12 when a page
    // was not written or the run was stopped.
    int runExport(const ExportPlan& plan, PageWriter& writer, const std::function<bool()>& stop,
                  const std::function<void(int)>& pageDone = {});
    const CommandSet& commands() const;
    void viewCommandDialog();
    void zoomFactorCommand();
    void shiftCommand();
    Host* host_ = nullptr;
    mutable std::unique_ptr<CommandSet> commands_;
    struct ExportJobState {
        JobRunner runner;
        int status = 0;
        std::string label;
        std::string saved; // the message after a successful run
        bool animated = false; // the pages moved the window's state: it redraws afterwards
    };
    std::unique_ptr<ExportJobState> exportJob_;
    const std::atomic<bool>* exportStop_ = nullptr; // the running job's flag; null: ask the host
    mutable bool exportStopSeen_ = false;           // Q seen by a synchronous run
};

template <class F> bool TKVAWing::changeView(F change)
{
    const View before = view_;
    if (!change(view_)) {
        view_ = before;
        return false;
    }
    history_.push(before);
    recomputeView();
    viewChanged();
    return true;
}

} // namespace qx
