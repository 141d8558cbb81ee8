#pragma once
// The target inventory of the map tools' windows: the records with their
// compiled trees and colours, editing (add, find, new, delete, next, undo),
// preparation before every drawing, the per-pixel kernel and the point
// report. The map itself comes from the levels above (iterationMap).
#include <cstddef> // before the core headers, which use size_t

#include "model/tfmjwin.h"
#include "model/target_editor.h"
#include "tools/maps/targets.h"

#include <random>

namespace qx {

class TTargWin : public TFMJWin, public TargetEditor {
public:
    TTargWin();

    // ---- The inventory.
    int targetCount() const override { return static_cast<int>(records_.size()); }
    const TargetRecord& target(int i) const { return records_.at(static_cast<size_t>(i)); }
    // The target the dialog shows.
    int currentTarget() const override { return current_; }
    // Replaces the whole inventory (presets, documents): compiles every
    // record; 0, or the compiler's code of the first that fails (the
    // inventory is then unchanged).
    int setTargets(std::vector<TargetRecord> records);
    // Replaces target i (the dialog's "ok"): 0, or the compiler's code and no change.
    int setTarget(int i, const TargetRecord& r);
    // New appends a point target; delete removes the current one; next
    // steps through; undo restores the inventory before the last change.
    bool newTargetCommand() override;    // false when the inventory is full
    bool deleteTargetCommand() override; // false when it is empty
    void nextTarget() override;
    bool undoTargets() override;         // false when there is nothing to undo
    // The TARGET dialog's view of the current target.
    TargetFormState currentTargetForm() const override;
    TargetFieldLayout targetLayout(const TargetFormState& s) const override;
    int applyTargetForm(const TargetFormState& s) override;
    int findTargetsCommand(int n, bool randomColour) override; // a side job
    // Adds a point target at w (14 digits, radius 0.01), with random light
    // anchors when asked.
    bool addPointTarget(Complex w, bool randomColour);
    // The "find" search: random starts in [-5, 5]^2, the map applied maximum
    // reps times, converged orbits become point targets, until the inventory
    // holds n targets, `stop` is raised or `attempts` starts were tried.
    // Returns the number of targets added. (The window's command runs the
    // same search as a side job that Q stops: findTargetsCommand.)
    static constexpr int kFindAttempts = 2000;
    int findTargets(int n, bool randomColour, const std::atomic<bool>* stop = nullptr, int attempts = kFindAttempts);
    bool findRunning() const override { return sideJobRunning(); }
    int expectedTargets() const override { return expectedTargets_; }
    void setExpectedTargets(int n) { expectedTargets_ = n; }

    // ---- Colours of target i: its colour sequence (slot i) and the trap
    // and sector colours.
    // interpolation count k, anchors (r/2, g/2, b/2) and (r, g, b).
    void twoAnchorColour(int i, int r, int g, int b, int k);
    // Colour sequence preset s (0..6; 7 only when allowed), 20 steps.
    void builtInColourScheme(int i, int s, bool allowSeven = false);
    void setTargetAnchors(int i, int steps, const std::vector<Rgb>& anchors);
    TargetColours targetColours(int i) const;

    // ---- Drawing.
    // Prepares every target (evaluates its trees) for the next picture.
    void prepareTargets();
    // The engine a render copies into every worker (prepared targets).
    TargetEngine makeEngine() const;
    int sweep() override; // prepares the targets, then sweeps
    void prepareSweep() override { prepareTargets(); }
    // The kernel prints in black and white itself (the targets' gray sequences).
    void printBlackAndWhite(Image&, const std::vector<int32_t>&) const override {}
    std::unique_ptr<PixelKernel> makeKernel() const override;
    OrbitMap orbitMap() const override;
    // "Show period": target i "at rep" n, or the base's period information.
    std::string pointReport(Complex start);

    void copyDrawingSettings(const TKVAWing& from) override;

protected:
    // The map iterated (first component; G for real tools), or null.
    virtual const ExprNode* iterationMap() const = 0;
    virtual const ExprNode* iterationMap2() const { return nullptr; }
    virtual bool realTool() const { return false; }
    // Parameter planes: the pixel is the parameter, the orbit starts at the
    // critical point (tree 0; tree 1 is y in the real tool).
    virtual bool parameterPlane() const { return false; }
    virtual const ExprNode* criticalTree(int /*i*/) const { return nullptr; }
    // Whether a compiled target refers to the parameter (its record flag).
    bool usesParameter(const TargetTrees& t) const;
    bool hasMap() const;
    // The inventory changed: the picture is out of date.
    void targetsChanged();
    void rememberForUndo();
    std::vector<Complex> knownCentres() const;
    void addFoundTargets(const std::vector<Complex>& found, bool randomColour);
    void ensureSequences(int n);

    std::vector<TargetRecord> records_;
    std::vector<TargetTrees> trees_;
    std::vector<std::array<Rgb, 2>> trapColours_;
    std::vector<std::vector<Rgb>> sectorColours_;
    int current_ = 0;
    int expectedTargets_ = 0;
    std::vector<std::vector<TargetRecord>> undo_;
    std::mt19937 targetRandom_{std::random_device{}()};
};

} // namespace qx
