#pragma once
// Graphics window model: the view and its commands, the palette, and the
// command/menu plumbing every tool window shares. A model talks to its
// window only through Host; attach() must come before any other call.
#include "model/command_table.h"
#include "model/host.h"
#include "model/view_dialogs.h"
#include "graphics/colour.h"
#include "graphics/export/export_format.h"
#include "graphics/export/page_writer.h"
#include "graphics/view.h"
#include "graphics/view_ops.h"

#include <memory>
#include <span>
#include <string_view>

namespace qx {

class TKVAWing {
public:
    TKVAWing();
    virtual ~TKVAWing() = default;
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
    // "EPS file saved" (the format's label) with the base name, or the
    // message of the failure.
    void exportCommand(const ExportFormat& format);
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
    const std::string& exportBaseName() const { return exportBaseName_; }
    static constexpr int kMaxExportPages = 999999;
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
    // The Help menu: one item per page, ids from `firstId` on, named like the
    // menu it explains; it shows the text in a text window "help: Menu".
    struct HelpPage {
        const char* menu;
        std::string_view text;
    };
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
    const ExportFormats* formats_ = &ExportFormats::builtIn();

private:
    const CommandSet& commands() const;
    void viewCommandDialog();
    void zoomFactorCommand();
    void shiftCommand();
    bool writePages(const ExportFormat& format, const std::string& base, int pages, PageWriter& writer,
                    int kind, const std::string& letters);
    Host* host_ = nullptr;
    mutable std::unique_ptr<CommandSet> commands_;
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
