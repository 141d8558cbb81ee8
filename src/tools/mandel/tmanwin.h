#pragma once
// The Mandelbrot window: the pixel is the parameter c and every orbit
// starts at the critical point 0. It owns at most one Julia child, opened
// by the mouse or by the indifferent-cycle commands.
#include "tools/mandel/tmjwin.h"

#include <optional>
#include <span>
#include <string>
#include <utility>

namespace qx {

class TJulWin;
class TPromWin;

// The side of the promenade pop-up when the pop-up placement gives none of
// a useful size (it is derived from the window's position).
inline constexpr int kPromenadeSide = 240;

class TManWin : public TMJWin {
public:
    // Resource names of the window: its menu, settings file and documents.
    static constexpr const char* kMenuName = "MANMENU";
    static constexpr const char* kSettingsFile = "mandel.ini";
    static constexpr const char* kDocumentExtension = "man";

    TManWin();
    ~TManWin() override;

    std::vector<CommandSpec> mouseModes() const override;
    // Mode 122: the promenade pop-up, a small Julia window for the c under
    // the mouse that follows the mouse while the left button is held.
    void mouseDown(MouseButton button, PixelPoint p) override;
    void mouseMove(PixelPoint p) override;
    void mouseUp(MouseButton button, PixelPoint p) override;
    TPromWin* promenade() const { return promenade_; }
    void drawToolOverlays(Canvas& composite) override;
    std::unique_ptr<TVorlWin> makeZoomChild() const override;

    // Opens (first use) or updates the Julia child for c, titled `title`,
    // or "jchild" + counter + ".jul" when empty; redraws it. 0, or 3 when
    // the child cannot be created.
    int openJuliaChild(Complex c, const std::string& title = {});
    // "1-cycle ..." (cycle 1) / "2-cycle ..." (cycle 2) for a typed t: 0, or
    // 1 for a text that is not a number, or the child's error.
    int openIndifferentCycle(int cycle, const std::string& text);
    TJulWin* juliaChild() const { return child_; }
    int childCount() const { return childCounter_; }

    // Export pages: \PROM walks the centre along the document's slide path
    // z(t) (at first 0.5cis(t)-0.25cis(2.0t), the main cardioid's edge), page
    // k at t = 2 pi k / pages; \ZOOM and letters as in every sweeping window.
    int pageDirective(const std::string& text, std::string& letters) const override;
    void animatePage(int page, int pages, int kind, const std::string& letters) override;

protected:
    void declareCommands(CommandSet& set) override;

private:
    friend class TJulWin;
    friend class TPromWin;
    void promenadeAt(PixelPoint p);
    void cycleCommand(int cycle);
    void reopen();

    // The Julia child closes: Reopen opens it again with `c` and its name.
    void childClosed(Complex c, const std::string& name);

    TJulWin* child_ = nullptr; // owned by the host; the link is cleared from both ends
    std::optional<std::pair<Complex, std::string>> closedChild_;
    int childCounter_ = 0;
    TPromWin* promenade_ = nullptr; // owned by the host; the link is cleared from both ends
    int promenadeCounter_ = 0;
    bool promenadeHeld_ = false;
};

} // namespace qx
