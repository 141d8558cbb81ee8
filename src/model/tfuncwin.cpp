#include "model/tfuncwin.h"

#include "expr/format.h"
#include "model/library_form.h"

#include "base/messages.h"
#include "expr/text_eval.h"

#include <limits>

namespace qx {

void TFuncWin::copyDrawingSettings(const TKVAWing& from)
{
    TKVAWinm::copyDrawingSettings(from);
    if (const auto* f = dynamic_cast<const TFuncWin*>(&from); f && f->complexMode() == complexMode()) {
        cx_.library = f->cx_.library;
        cx_.env.vars = f->cx_.env.vars;
        definedSlots_ = f->definedSlots_;
        minimum_ = f->minimum_;
        maximum_ = f->maximum_;
    }
}

void TFuncWin::animatePage(int page, int pages, int kind, const std::string& letters)
{
    if (kind != 1 || pages < 2)
        return;
    for (char letter : letters) {
        const int slot = letter - '@';
        const Real lo = variableMinimum(slot), hi = variableMaximum(slot);
        setVariable(slot, {lo + (hi - lo) * page / (pages - 1), 0});
    }
}

int TFuncWin::compileInto(const std::string& text, TreePtr& tree)
{
    TreePtr compiled;
    const int e = CompileExpression(cx_, text, compiled);
    if (e) {
        if (attached())
            host().showError(e);
        return e;
    }
    tree = std::move(compiled);
    return ErrOk;
}

void TFuncWin::setComplexMode(bool on)
{
    cx_.env.complexMode = on;
    cx_.env.resetVariables();
    definedSlots_ = (1u << kSlotE) | (on ? 1u << kSlotI : 0u);
}

void TFuncWin::setVariable(int slot, Complex value)
{
    cx_.env.vars.at(static_cast<size_t>(slot)) = value;
    definedSlots_ |= 1u << slot;
}

std::string TFuncWin::constantText(int letter) const
{
    const Complex v = variable(letter);
    if (complexMode())
        return FormatComplexText(v, 14);
    return FormatReal(v.re, 1, 14);
}

int TFuncWin::saveConstants(int letter, const std::string& text, int secondLetter, const std::string& secondText,
                            bool pairMode)
{
    if (constantLetterRefused(constantKind(), letter, secondLetter, pairMode) ||
        (pairMode && constantLetterRefused(constantKind(), secondLetter, letter, pairMode)))
        return 1;
    Complex first, second;
    if (const int e = evaluateConstant(text, first))
        return e;
    if (pairMode) {
        if (const int e = evaluateConstant(secondText, second))
            return e;
        setVariable(letter, {first.re, 0});
        setVariable(secondLetter, {second.re, 0});
    } else {
        setVariable(letter, complexMode() ? first : Complex{first.re, 0});
    }
    return 0;
}

int TFuncWin::setVariableBounds(int slot, Real low, Real high)
{
    if (slot < 0 || slot >= kVariableCount || !(low <= high))
        return ErrInconsistentData;
    minimum_[static_cast<size_t>(slot)] = low;
    maximum_[static_cast<size_t>(slot)] = high;
    return ErrOk;
}

ExprContext TFuncWin::constantContext() const
{
    ExprContext cx = cx_;
    const Real nan = std::numeric_limits<Real>::quiet_NaN();
    for (int slot = 0; slot < kVariableCount; ++slot)
        if (!variableDefined(slot))
            cx.env.vars[static_cast<size_t>(slot)] = {nan, nan};
    return cx;
}

namespace {

bool finite(Complex v) { return v.re == v.re && v.im == v.im; }

} // namespace

int TFuncWin::evaluateConstant(const std::string& text, Complex& out) const
{
    ExprContext cx = constantContext();
    if (const size_t comma = text.find(','); comma != std::string::npos && text.find('(') == std::string::npos) {
        Real re = 0, im = 0;
        if (const int e = EvaluateRealText(cx, text.substr(0, comma), re))
            return e;
        if (const int e = EvaluateRealText(cx, text.substr(comma + 1), im))
            return e;
        if (!finite({re, im}))
            return ErrCannotUnderstand;
        out = {re, im};
        return ErrOk;
    }
    Complex v;
    if (const int e = EvaluateComplexText(cx, text, v))
        return e;
    if (!finite(v))
        return ErrCannotUnderstand;
    out = v;
    return ErrOk;
}

int TFuncWin::evaluateRealConstant(const std::string& text, Real& out) const
{
    ExprContext cx = constantContext();
    Real v = 0;
    if (const int e = EvaluateRealText(cx, text, v))
        return e;
    if (v != v)
        return ErrCannotUnderstand;
    out = v;
    return ErrOk;
}

void TFuncWin::writeVariableTable(ByteWriter& w) const
{
    for (int i = 0; i < kVariableCount; ++i) {
        w.real(variable(i).re);
        w.real(variable(i).im);
    }
    for (int i = 0; i < kVariableCount; ++i) {
        w.real(variableMinimum(i));
        w.real(variableMaximum(i));
    }
}

bool TFuncWin::readVariableValues(ByteReader& r, VariableTable& t)
{
    for (Complex& v : t.values)
        if (!r.real(v.re) || !r.real(v.im))
            return false;
    return true;
}

bool TFuncWin::readVariableBounds(ByteReader& r, VariableTable& t)
{
    for (auto& [low, high] : t.bounds)
        if (!r.real(low) || !r.real(high) || !(low <= high))
            return false;
    return true;
}

void TFuncWin::applyVariableTable(const VariableTable& t, bool withBounds)
{
    for (int i = 0; i < kVariableCount; ++i) {
        setVariable(i, t.values[static_cast<size_t>(i)]);
        if (withBounds)
            setVariableBounds(i, t.bounds[static_cast<size_t>(i)].first, t.bounds[static_cast<size_t>(i)].second);
    }
}

} // namespace qx
