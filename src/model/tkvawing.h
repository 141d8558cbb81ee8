#pragma once
// Graphics window model: the view and its commands, the palette, and the
// command/menu plumbing every tool window shares. A model talks to its
// window only through Host; attach() must come before any other call.
#include "model/command_table.h"
#include "model/host.h"
#include "model/view_dialogs.h"
#include "graphics/colour.h"
#include "graphics/export/page_writer.h"
#include "graphics/view.h"
#include "graphics/view_ops.h"

#include <span>

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

    // Commands: each class handles its own ids and passes the rest to its
    // base. Returns false for an id nobody handles.
    virtual bool handleCommand(int id);
    // Collect the command tables of the whole chain (base first).
    virtual void buildMenus(MenuBar& bar) const;
    MenuBar menuBar() const;
    // Check state of a Toggle or Radio command.
    virtual bool isChecked(int id) const;
    static std::span<const CommandSpec> commandTable();

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

    // ---- EPS export (tkvawing_eps.cpp).
    // "EPS ...": the file name, the page count, the pages; then "EPS file
    // saved" with the base name, or the message of the failure.
    void exportEpsCommand();
    // Writes the picture as EPS page(s) named from `path` (its extension is
    // replaced by ".eps"); `ask` answers the overwrite question. Returns 0,
    // 10 (the window has no vector picture), 12 (a page was not written),
    // or 1 / 6 / 17 for a page count that is not a number, below 1 or
    // above 999999.
    int exportEps(const std::string& path, const std::string& pagesText, const PageWriter::Ask& ask);
    // Whether the window has a vector picture to export (default: none).
    virtual bool canExportEps() const { return false; }
    // Called before the header is built; false ends the export.
    virtual bool prepareEps() { return true; }
    // Draws page `page` on the EPS canvas; false fails the page.
    virtual bool drawEpsPage(Canvas& /*canvas*/, int /*page*/) { return false; }
    const std::string& epsBaseName() const { return epsBaseName_; }
    static constexpr int kMaxEpsPages = 999999;

protected:
    Host& host() const { return *host_; }
    // Push the current view on the history, then run `change`; on success
    // recompute and call viewChanged(), else restore.
    template <class F> bool changeView(F change);

    View view_;
    Palette palette_;
    ViewHistory history_;
    Real zoomStep_ = 1.1L;
    std::string epsBaseName_ = "noname";
    std::string epsCreator_ = "Zumbar";

private:
    void viewCommandDialog();
    bool exportEpsPages(const std::string& base, int pages, PageWriter& writer);
    Host* host_ = nullptr;
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
