#pragma once
// What the TARGET dialog edits, as the window offers it: the current target
// of an inventory as texts, the fields its kind and pattern use, and the
// inventory commands. The map tools implement it; the Qt dialog knows only
// this interface.
#include <array>
#include <string>

namespace qx {

struct TargetFormState {
    int kind = 0;    // 0 point, 1 region, 2 line, 3 infinity
    int pattern = 0; // 0 bands, 1 blend, 2 colour trap
    std::array<std::string, 5> texts;
    bool sectors = false;
    std::string sectorCount = "4";
};

struct TargetFieldLayout {
    std::array<std::string, 5> labels;
    std::array<bool, 5> enabled{};
    std::array<bool, 3> patterns{true, true, true}; // which patterns the kind offers
    bool sectors = false;                           // whether the sectors switch is offered
};

class TargetEditor {
public:
    virtual ~TargetEditor() = default;
    virtual int targetCount() const = 0;
    virtual int currentTarget() const = 0;
    virtual int expectedTargets() const = 0;
    // The current target as texts (a default state when there is none).
    virtual TargetFormState currentTargetForm() const = 0;
    // The fields a state's kind, pattern and sectors switch use.
    virtual TargetFieldLayout targetLayout(const TargetFormState& s) const = 0;
    // "ok": 0, or the code of the refused entry (nothing changes).
    virtual int applyTargetForm(const TargetFormState& s) = 0;
    virtual bool newTargetCommand() = 0;
    virtual bool deleteTargetCommand() = 0;
    virtual void nextTarget() = 0;
    virtual bool undoTargets() = 0;
    // "find": starts growing the inventory towards n targets in the
    // background (Q stops it; what was found stays); returns how many are
    // sought, 0 when n is not above the count.
    virtual int findTargetsCommand(int n, bool randomColour) = 0;
    virtual bool findRunning() const = 0;
};

} // namespace qx
