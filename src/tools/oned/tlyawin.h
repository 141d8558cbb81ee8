#pragma once
// The Lyapunov diagram: every pixel (a, b) of the parameter square coloured
// by the Lyapunov exponent of the logistic map driven by a string of A and B.
#include <cstddef> // before the core headers, which use size_t

#include "model/tvorlswin.h"
#include "tools/oned/lyapunov.h"

namespace qx {

inline constexpr int32_t kLyaKind = 1201;

class TLya0Win : public TVorlSWin {
public:
    TLya0Win();

    const LyapunovParams& params() const { return params_; }
    // LPARAM: the string, the two extremes, transients and calculations as
    // typed (both extremes empty: worked out at the next pass). 0, or 1 for a
    // string that is not A and B, 6 for transients below 0, calculations
    // below 1 or extremes of the wrong sign or order.
    struct Texts {
        std::string string, stable, unstable, transients, calculations;
    };
    Texts texts() const;
    int applyTexts(const Texts& t);
    // The smallest and largest exponent of the last pass (1000 and -1000 before one).
    Real smallestExponent() const { return range_->smallest; }
    Real largestExponent() const { return range_->largest; }
    // The exponent at (a, b); false when it cannot be computed.
    bool exponentAt(Real a, Real b, Real& e) const;
    // The title while the button is held: "a, b [exponent]".
    std::string pointReport(Real a, Real b) const;
    LyapunovColours colours() const;

    int drawFigure(Canvas& figure) override;
    std::unique_ptr<PixelKernel> makeKernel() const override;
    std::optional<SweepGeometry> exportGeometry() const override { return geometry(); }
    void prepareSweep() override; // the automatic extremes for the current pixel size
    void copyDrawingSettings(const TKVAWing& from) override;

protected:
    // Square pixels, from the top-left corner.
    SweepGeometry geometry() const;

    LyapunovParams params_;
    std::shared_ptr<ExponentRange> range_ = std::make_shared<ExponentRange>();
    int stableIndex_ = 3, unstableIndex_ = 6, thresholdIndex_ = 0; // palette entries
};

class TLyaWin : public TLya0Win {
public:
    TLyaWin();
    ToolFiles toolFiles() const override;
    std::vector<CommandSpec> mouseModes() const override;
    void mouseDown(MouseButton button, PixelPoint p) override;
    void mouseUp(MouseButton button, PixelPoint p) override;
    std::unique_ptr<TVorlWin> makeZoomChild() const override { return std::make_unique<TLyaWin>(); }
    void settingsCommand() override;

protected:
    void declareCommands(CommandSet& set) override;
    void encodeDocumentBody(ByteWriter& w) const override;
    int decodeDocumentBody(ByteReader& r, const CommonHeader& h) override;

private:
    void colourCommand(int& index, const char* title);
    bool reportShown_ = false;
};

} // namespace qx
