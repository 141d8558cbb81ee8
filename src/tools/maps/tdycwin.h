#pragma once
// The complex dynamic plane: a typed complex map z -> f(z) iterated over
// every pixel, coloured by the target its orbit reaches; root-finding
// transforms, the n-th roots generator and the ten examples.
#include "tools/maps/tfracwin.h"

#include <functional>

namespace qx {

inline constexpr int32_t kDycKind = 1101;

class TDycWin : public TFracWin {
public:
    // A random index below a count: the start-up choice (a fixed one in tests).
    using RandomIndex = std::function<uint32_t(uint32_t)>;
    explicit TDycWin(const RandomIndex& random = {});
    // A window that starts empty (zoom windows, documents): no start-up choice.
    struct Empty {};
    explicit TDycWin(Empty);

    static constexpr int kExamples = 10;
    // Example k (0..9) as tabled; false for another k.
    bool applyExample(int k) override;
    int exampleCount() const override { return kExamples; }
    const char* exampleText(int k) const override;
    // The command id of example k, and back (-1 for none).
    static int exampleCommand(int k);
    static int exampleOfCommand(int id);

    // The n-th roots generator (2 <= n <= 7) for the text of w with the
    // selected method: 0, the evaluator's code, 106 "too
    // small" for |Re w| + |Im w| < 0.0001, or 17 for n outside 2..7.
    int nthRoots(int n, const std::string& wText);

    ToolFiles toolFiles() const override;
    std::unique_ptr<TVorlWin> makeZoomChild() const override;
    int constantKind() const override { return 3; } // I is the imaginary unit

protected:
    void declareCommands(CommandSet& set) override;
    std::span<const MapsHelp> helpPages() const override { return dycHelp(); }

private:
    void startUpChoice(const RandomIndex& random);
    void solveCommand();
    void rootFindCommand();
    // Sets the constants, mapping, view and default width, and expected count.
    void beginExample(const std::string& mapping, Real centreX, Real halfWidth, int expected);

};

} // namespace qx
