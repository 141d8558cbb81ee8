#pragma once
// The parameter planes: every pixel is a parameter of a family of maps
// (complex: c; real: a and b), the orbit starts at the family's critical
// point, and the target inventory colours the pixel by its fate.
#include "tools/maps/tfracwin.h"

#include <functional>

namespace qx {

inline constexpr int32_t kPpcKind = 1103;
inline constexpr int32_t kPprKind = 1104;

class TParWin : public TFracWin {
public:
    using RandomIndex = std::function<uint32_t(uint32_t)>;
    explicit TParWin(bool complexTool) : TFracWin(complexTool, false) {}

    // Example k as tabled; false for another k, or when the user declines
    // to stop a running drawing first.
    bool applyExample(int k) override;
    std::vector<CommandSpec> mouseModes() const override;
    void mouseDown(MouseButton button, PixelPoint p) override;
    // Julia child (mode 121): the dynamic plane of parameter p, named
    // jchild1.dyc (or .dyr), reused and renumbered on later clicks, with the
    // mapping and targets copied and centred at the critical point. 0, or
    // 403 when no window can be made.
    int openJuliaChild(Complex p);
    // "Reopen" (98): shows the Julia child again; false when there is none.
    bool showJuliaChild();
    TFracWin* juliaChild() const { return juliaChild_; }

protected:
    bool parameterPlane() const override { return true; }
    virtual void example(int k) = 0;
    // Sets the mapping texts, critical point, expected count, view and default width.
    void beginExample(const std::string& f, const std::string& g, const std::string& critical,
                      const std::string& criticalY, int expected, Real cx, Real cy, Real width);
    void declareCommands(CommandSet& set) override;
    std::span<const MapsHelp> helpPages() const override { return parHelp(); }
    virtual int firstExampleCommand(int k) const = 0;
    void criticalPointCommand();
    std::unique_ptr<TFracWin> makeJuliaChild() const;
};

// The complex parameter plane (c).
class TPpcWin : public TParWin {
public:
    explicit TPpcWin(const RandomIndex& random = {});
    struct Empty {};
    explicit TPpcWin(Empty) : TParWin(true) {}
    static constexpr int kExamples = 8;
    int exampleCount() const override { return kExamples; }
    const char* exampleText(int k) const override;
    ToolFiles toolFiles() const override;
    std::unique_ptr<TVorlWin> makeZoomChild() const override;
    int constantKind() const override { return 2; } // C is the parameter, I the imaginary unit

protected:
    void example(int k) override;
    int firstExampleCommand(int k) const override;
};

// The real parameter plane (a, b).
class TPprWin : public TParWin {
public:
    explicit TPprWin(const RandomIndex& random = {});
    struct Empty {};
    explicit TPprWin(Empty) : TParWin(false) {}
    static constexpr int kExamples = 2;
    int exampleCount() const override { return kExamples; }
    const char* exampleText(int k) const override;
    ToolFiles toolFiles() const override;
    std::unique_ptr<TVorlWin> makeZoomChild() const override;
    int constantKind() const override { return 1; } // A and B are the parameters

protected:
    void example(int k) override;
    int firstExampleCommand(int k) const override;
};

} // namespace qx
