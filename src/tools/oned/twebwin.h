#pragma once
// The web (cobweb) diagram: the graph of a real function y = f(x), the
// diagonal y = x and the orbit of a seed, drawn step by step. Every repaint
// replays the stored orbit; One and Many add steps through a drawing job
// that pauses between them (S slower, F faster, P pause, Q stop).
#include <cstddef> // before the core headers, which use size_t

#include "model/tvorl1win.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <optional>

namespace qx {

inline constexpr int32_t kWebKind = 1203;

// What the stepping job and the window share while the web grows.
struct StepControl {
    std::atomic<int> delayMs{10};
    std::atomic<bool> paused{false};
};

class TWebWin : public TVorl1Win {
public:
    enum Trace : int32_t { TraceTotal = 0, TracePartial = 1, TraceOff = 2 };
    enum Family : int { Logistic = 0, Quadratic = 1 };
    static constexpr int32_t kMaxHowMany = 32767;

    // `randomDefault`: the logistic default with probability 0.22, else the
    // quadratic one; otherwise the window starts with the quadratic default.
    explicit TWebWin(bool randomDefault = true);
    ~TWebWin() override;

    // Mapping (539): f(x); unchanged text does nothing; 0 or the compiler's
    // code (the function stays). A new function restarts the web at the seed.
    int setMapping(const std::string& text);
    const std::string& mappingText() const { return mapping_; }
    int family() const { return family_; }
    void applyDefault(int family);
    // The cycle generator (712..721): the family's default with its critical
    // point as the seed and n steps to draw, at the table entry `pick` of
    // period n (random when negative). False for n outside 2..11 or a pick
    // outside the table.
    bool generateCycle(int n, int pick = -1);

    // Stepping: One (518), Many (91), Clear (362), Reset (back to the seed).
    void stepOne();
    void stepMany();
    void clearWeb();
    void resetWeb();
    // "How many ...": 1..32767; 1 for a text that is no number, 17 out of
    // range (nothing changes).
    int setHowMany(const std::string& text);
    int32_t howMany() const { return howMany_; }
    int32_t iterations() const { return count_; }
    int32_t targetCount() const { return target_; }
    // The last x of the web and the seed the web starts from.
    Real currentX() const { return current_; }
    Real seedValue() const;
    int32_t seedParameter() const { return seedParam_; }
    int32_t traceMode() const { return trace_; }
    int delay() const { return control_->delayMs.load(); }
    void setDelay(int ms) { control_->delayMs.store(std::clamp(ms, 0, 60000)); }
    // The web is to have `target` steps (at most a million): the missing ones
    // are drawn.
    void requestSteps(int32_t target);
    bool beeps() const { return beeps_; }
    void setBeeps(bool on) { beeps_ = on; }
    int toneDuration() const { return toneMs_; }
    // The web from the start: x(0) .. x(iterations) (the replay of a repaint).
    std::vector<Real> orbit() const;

    // WPARAM.
    struct Settings {
        bool tied = false;  // "parameter": the seed is a letter's value
        int letter = 1;     // 1 = A .. 23 = W
        std::string seed;   // the seed's text ("constant")
        int32_t trace = TraceTotal;
        bool initialSegment = false, arrows = false, showCoordinate = false;
    };
    Settings settings() const;
    // 0; 6 for a letter or trace mode out of range; 17 "out of bounds" for
    // a seed outside the view's horizontal range; the evaluator's code.
    // Nothing changes on an error.
    int applySettings(const Settings& s);

    std::optional<ParameterBar> parameterBar() const override;
    void parameterBarMoved(Real value) override;

    int drawFigure(Canvas& figure) override;
    void drawToolOverlays(Canvas& canvas) override;
    // Vector drawing: on every format (bitmaps rasterize it).
    bool canExport(const ExportFormat&) const override { return true; }
    bool drawExportPage(Canvas& canvas, int page) override;
    // Export pages: \REPS draws one step more on each page after the first.
    int pageDirective(const std::string& text, std::string& letters) const override;
    void animatePage(int page, int pages, int kind, const std::string& letters) override;
    bool keyDown(int key) override;
    void mouseDown(MouseButton button, PixelPoint p) override;
    std::vector<CommandSpec> mouseModes() const override;
    ToolFiles toolFiles() const override;
    void settingsCommand() override;
    void copyDrawingSettings(const TKVAWing& from) override;

protected:
    void declareCommands(CommandSet& set) override;
    void encodeDocumentBody(ByteWriter& w) const override;
    int decodeDocumentBody(ByteReader& r, const CommonHeader& h) override;
    void captureToolSettings(SettingsFile& s) const override;
    void applyToolSettings(const SettingsFile& s) override;
    void drawJobBatch(Canvas& figure, const DotBatch& batch) override;
    void renderFinished(int status) override;

private:
    // The graph of f and the diagonal on a clean figure.
    void drawBase(Canvas& canvas) const;
    // The segments of the step from x to y (`first`: the web's first step).
    void drawStep(Canvas& canvas, Real x, Real y, bool first) const;
    void drawArrow(Canvas& canvas, WorldPoint a, WorldPoint b, const Pen& pen) const;
    // The whole stored web (as the trace mode shows it).
    void drawWeb(Canvas& canvas) const;
    bool evaluate(Real x, Real& y) const;
    void restartAtSeed();
    int cycleCommand(int n);

    int family_ = Quadratic;
    std::string mapping_;
    TreePtr map_;
    Real seed_ = 0;
    int32_t seedParam_ = 0;
    int32_t trace_ = TraceTotal;
    bool initialSegment_ = false, arrows_ = false, showCoordinate_ = false;
    int32_t count_ = 0, target_ = 0, howMany_ = 300;
    // The x the stored web starts from: the seed, or the x at which it was
    // last cleared.
    std::optional<Real> clearedAt_;
    Real current_ = 0;
    bool beeps_ = false;
    int toneMs_ = 40;
    std::shared_ptr<StepControl> control_ = std::make_shared<StepControl>();
    int32_t jobFirst_ = 0; // the count when the running steps began
};

} // namespace qx
