#pragma once
// The Julia window: a fixed parameter c, the pixel is the start z0. Its
// Edit menu offers six classic examples. TPromWin is its small pop-up
// variant opened by the Mandelbrot window's promenade.
#include "tools/mandel/mj_examples.h"
#include "tools/mandel/tmjwin.h"

#include <span>

namespace qx {

class TManWin;

class TJulWin : public TMJWin {
public:
    // Resource names of the window: its menu, settings file and documents.
    static constexpr const char* kMenuName = "JULMENU";
    static constexpr const char* kSettingsFile = "jul.ini";
    static constexpr const char* kDocumentExtension = "jul";

    // A fresh window takes a random point of the main cardioid's boundary
    // as c, drawn from `random` (a default generator when empty).
    explicit TJulWin(const RandomIndex& random = {});
    ~TJulWin() override;

    std::vector<CommandSpec> mouseModes() const override;

    // Example 672..677: sets c and maximum reps, turns orbit overlays off
    // and redraws; the view stays. False for another id.
    bool applyExample(int command);
    std::unique_ptr<TVorlWin> makeZoomChild() const override;
    // Left button: 121 starts the orbiter, 124 and 125 show the preimages
    // or the image while the button is held.
    void mouseDown(MouseButton button, PixelPoint p) override;

    // The Mandelbrot window this one is the Julia child of (or nullptr).
    TManWin* parentWindow() const { return parent_; }

protected:
    void declareCommands(CommandSet& set) override;

private:
    friend class TManWin; // keeps the parent link on both sides
    TManWin* parent_ = nullptr;
};

// The small pop-up Julia window of the promenade; it opens no zoom windows.
class TPromWin : public TJulWin {
public:
    explicit TPromWin(Complex c);
    ~TPromWin() override;
    std::unique_ptr<TVorlWin> makeZoomChild() const override { return nullptr; }

private:
    friend class TManWin;
    TManWin* promenadeParent_ = nullptr;
};

} // namespace qx
