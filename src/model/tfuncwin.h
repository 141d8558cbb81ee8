#pragma once
// The expression state of a window: the compiler context (complex or real
// mode, simplify flag, user-function library), the 27-slot variable table
// with the lower and upper bounds of each letter, and the typed texts that
// are read through it. Every tool window compiles and evaluates here, so each
// window has its own variables and its own library.
#include "base/bytes.h"
#include "expr/compiler.h"
#include "model/tkvawinm.h"

#include <array>
#include <cstdint>
#include <string>
#include <utility>

namespace qx {

// Letter slots of the variable table ('@' is 0, A is 1, ... Z is 26).
inline constexpr int kSlotA = 1, kSlotB = 2, kSlotC = 3;

class TFuncWin : public TKVAWinm {
public:
    // A child takes the parent's library, variables and their bounds.
    void copyDrawingSettings(const TKVAWing& from) override;
    // Directive 1 of a run of pages: each animated letter moves from its
    // lower to its upper bound, min + (max - min) * page / (pages - 1).
    void animatePage(int page, int pages, int kind, const std::string& letters) override;

    // ---- Compiler state.
    bool complexMode() const { return cx_.complexMode(); }
    const ExprContext& exprContext() const { return cx_; }
    const FunctionLibrary& library() const { return cx_.library; }
    void setLibrary(FunctionLibrary library) { cx_.library = std::move(library); }

    // Compiles `text` in the window's context: 0 and the tree in `tree`, or
    // the error code, shown through the host (message 400 + code), and
    // `tree` untouched.
    int compileInto(const std::string& text, TreePtr& tree);

    // ---- The variable table.
    Complex variable(int slot) const { return cx_.env.vars.at(static_cast<size_t>(slot)); }
    // Sets a letter; it then counts as defined for constant texts.
    void setVariable(int slot, Complex value);
    bool variableDefined(int slot) const { return (definedSlots_ >> slot) & 1u; }
    // The adjustment bounds of a letter, -10 and +10 unless set.
    Real variableMinimum(int slot) const { return minimum_.at(static_cast<size_t>(slot)); }
    Real variableMaximum(int slot) const { return maximum_.at(static_cast<size_t>(slot)); }
    // 0, or 6 when low > high (nothing changes).
    int setVariableBounds(int slot, Real low, Real high);

    // ---- The variable table as documents keep it: 27 complex values, then
    // 27 (lower, upper) bound pairs. The readers fail on missing data, and on
    // a lower bound above its upper one.
    struct VariableTable {
        std::array<Complex, kVariableCount> values{};
        std::array<std::pair<Real, Real>, kVariableCount> bounds{};
    };
    void writeVariableTable(ByteWriter& w) const;
    static bool readVariableValues(ByteReader& r, VariableTable& t);
    static bool readVariableBounds(ByteReader& r, VariableTable& t);
    // The values, and the bounds when `withBounds`.
    void applyVariableTable(const VariableTable& t, bool withBounds);

    // ---- Constant texts: seeds, parameters, coordinates. A constant may use
    // the letters the window defines (E, I in complex windows, and what the
    // tool or the user set) and no other: "junk" is refused instead of
    // reading as j*u*n*k = 0. "a,b" gives the two parts separately, anything
    // else is one complex expression (real in real windows).
    // 0 and the value, or the code (nothing reported).
    int evaluateConstant(const std::string& text, Complex& out) const;
    int evaluateRealConstant(const std::string& text, Real& out) const;

    // ---- The constant manager (CALCD). A letter's value as the dialog shows
    // it (complex text form in complex windows); save evaluates the texts
    // and stores them: one complex value in "z" mode, or in "x+yi" mode the
    // real value of each text into its letter. 0, 1 for a letter the tool
    // refuses (constantKind), or the evaluator's code; nothing changes then.
    std::string constantText(int letter) const;
    int saveConstants(int letter, const std::string& text, int secondLetter, const std::string& secondText,
                      bool pairMode);
    // The kind code of the constant manager (library_form.h): 0 unless the
    // tool keeps letters of its own.
    virtual int constantKind() const { return 0; }

protected:
    // Windows start in real mode; complex tools switch before they compile.
    void setComplexMode(bool on);
    // Which letters count as defined (bit per slot), to put back after a
    // trial that set letters (a document whose maps did not compile).
    uint32_t definedMask() const { return definedSlots_; }
    void setDefinedMask(uint32_t mask) { definedSlots_ = mask; }

    ExprContext cx_;

private:
    // The context constant texts evaluate in: undefined letters hold NaN.
    ExprContext constantContext() const;

    uint32_t definedSlots_ = 1u << kSlotE;
    std::array<Real, kVariableCount> minimum_ = filled(-10);
    std::array<Real, kVariableCount> maximum_ = filled(10);

    static std::array<Real, kVariableCount> filled(Real v)
    {
        std::array<Real, kVariableCount> a;
        a.fill(v);
        return a;
    }
};

} // namespace qx
