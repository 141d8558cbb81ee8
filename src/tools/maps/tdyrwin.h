#pragma once
// The real dynamic plane: a map of the plane (x,y) -> (f, g) iterated over
// every pixel and coloured by the target its orbit reaches; Newton's method
// for a system, the presets with their Notebook, long orbit overlays, and
// the ancestor search along level curves.
#include "tools/maps/tfracwin.h"

namespace qx {

inline constexpr int32_t kDyrKind = 1102;

class TDyrWin : public TFracWin {
public:
    // A new window starts with the Hénon preset.
    TDyrWin();
    // A window that starts empty (zoom windows, documents).
    struct Empty {};
    explicit TDyrWin(Empty);

    // Presets: 0 Gingerbread man, 1 Hénon, 2..7 Quadratic 1..6; false for
    // another k, or when the user declines to stop a running drawing before
    // a Quadratic preset.
    static constexpr int kExamples = 8;
    bool applyExample(int k) override;
    int exampleCount() const override { return kExamples; }
    const char* exampleText(int k) const override;
    static int exampleCommand(int k);
    // The Notebook text the last preset wrote (CR LF line ends).
    const std::string& notebook() const { return notebook_; }

    // The ancestor search: preimages of (a, b) found on the level curve
    // f = a, walking to where g = b; up to `ancestorTrials` random starts.
    std::vector<Complex> preimagesOf(Complex z) override;
    int ancestorTrials() const { return ancestorTrials_; }
    void seedAncestorSearch(uint32_t seed) { ancestorRandom_.seed(seed); }

    ToolFiles toolFiles() const override;
    std::unique_ptr<TVorlWin> makeZoomChild() const override;

protected:
    void declareCommands(CommandSet& set) override;
    std::span<const MapsHelp> helpPages() const override { return dyrHelp(); }

private:
    void preset(const std::string& f, const std::string& g, const std::string& region, const std::string& seeds,
                Real cx, Real cy, Real width, const std::vector<std::string>& fixedPoints,
                const std::string& description = {});
    void newtonCommand();
    // One ancestor from a point on F1 = 0 walking in `direction` (+1 or -1);
    // false when the walk leaves the view or meets no sign change of G1.
    bool walk(ExprContext& cx, ExprNode& f1, ExprNode& g1, Complex start, int direction, Complex& found);

    std::string notebook_;
    int ancestorTrials_ = 20;
    std::mt19937 ancestorRandom_{std::random_device{}()};
};

} // namespace qx
