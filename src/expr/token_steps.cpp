// The token steps of the compiler: tokens, named constants, numbers, postfix
// factorials, commas, implicit multiplication and the adjacency check.
#include "base/messages.h"
#include "expr/arith.h"
#include "expr/compile_steps.h"
#include "expr/names.h"

#include <cmath>
#include <cstdlib>

namespace qx::compile {

int tokenise(const std::string& text, Tokens& tokens)
{
    tokens.clear();
    tokens.reserve(2 * text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const int c = static_cast<unsigned char>(text[i]);
        Token t;
        t.code = c;
        if (c == code::Join) {
            const int letter = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
            if (letter < 1 || letter > 26) return ErrCannotUnderstand;
            t.value = {Real(letter), 0};
            ++i;
        } else if (!isValidToken(c)) {
            return ErrCannotUnderstand;
        }
        tokens.push_back(std::move(t));
    }
    return ErrOk;
}

void namedConstants(Tokens& tokens)
{
    for (auto& t : tokens) {
        Real v;
        switch (t.code) {
        case code::PiName: v = kPi; break;
        case code::PhiName: v = (1 + std::sqrt(5.0L)) / 2; break;
        case code::Pinf: v = kBig; break;
        case code::Ninf: v = -kBig; break;
        case code::DegName: v = kPi / 180; break;
        default: continue;
        }
        t.code = code::Const;
        t.value = {v, 0};
    }
}

namespace {

bool isNumberChar(int c) { return (c >= '0' && c <= '9') || c == '.'; }

// A run of digits and points read as a decimal number; a second point ends it.
Real readDecimal(const std::string& run)
{
    const size_t second = run.find('.', run.find('.') + 1);
    const std::string used = run.substr(0, second == std::string::npos ? run.size() : second);
    if (used.find_first_of("0123456789") == std::string::npos) return 0;
    return std::strtold(used.c_str(), nullptr);
}

} // namespace

int readNumbers(Tokens& tokens)
{
    Tokens out;
    out.reserve(tokens.capacity());
    for (size_t i = 0; i < tokens.size();) {
        if (!isNumberChar(tokens[i].code)) { out.push_back(std::move(tokens[i++])); continue; }
        std::string run;
        for (; i < tokens.size() && isNumberChar(tokens[i].code); ++i)
            run += static_cast<char>(tokens[i].code);
        Token t;
        t.code = code::Const;
        t.value = {readDecimal(run), 0};
        if (!std::isfinite(t.value.re)) return ErrOutOfBounds;
        out.push_back(std::move(t));
    }
    tokens = std::move(out);
    return ErrOk;
}

namespace {

Token plain(int c)
{
    Token t;
    t.code = c;
    return t;
}

} // namespace

int postfixFactorials(Tokens& tokens)
{
    for (size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i].code != code::Bang) continue;
        if (i == 0) return ErrCannotUnderstand;
        tokens.erase(tokens.begin() + static_cast<long>(i));
        if (tokens[i - 1].code == ')') {
            int depth = 0;
            size_t open = i;
            while (open-- > 0) {
                if (tokens[open].code == ')') ++depth;
                if (tokens[open].code == '(' && --depth == 0) break;
            }
            if (open == static_cast<size_t>(-1)) return ErrCannotUnderstand;
            // A function call before the bracket belongs to the operand: f(x)! is FACT(f(x)).
            if (open > 0 && isUnaryFunction(tokens[open - 1].code) && tokens[open - 1].code != code::Neg)
                --open;
            tokens.insert(tokens.begin() + static_cast<long>(i), plain(')'));
            tokens.insert(tokens.begin() + static_cast<long>(open), plain('('));
            tokens.insert(tokens.begin() + static_cast<long>(open), plain(code::Fact));
        } else {
            tokens.insert(tokens.begin() + static_cast<long>(i), plain(')'));
            tokens.insert(tokens.begin() + static_cast<long>(i - 1), plain('('));
            tokens.insert(tokens.begin() + static_cast<long>(i - 1), plain(code::Fact));
        }
        --i; // look again at what now stands here
    }
    return ErrOk;
}

int resolveCommas(Tokens& tokens)
{
    std::vector<size_t> open;
    for (size_t i = 0; i < tokens.size(); ++i) {
        Token& t = tokens[i];
        if (t.code == '(') open.push_back(i);
        if (t.code == ')' && !open.empty()) open.pop_back();
        if (t.code != ',') continue;
        if (open.empty() || open.back() == 0) return ErrCannotUnderstand;
        Token& f = tokens[open.back() - 1];
        if (!isTwoArgument(f.code) && !isMultiArgument(f.code)) return ErrCannotUnderstand;
        t.code = f.code;
        if (f.code == code::Join) t.value = f.value;
        ++f.counter;
    }
    Tokens out;
    out.reserve(tokens.capacity());
    for (auto& t : tokens) {
        const bool two = isTwoArgument(t.code), multi = isMultiArgument(t.code);
        if (two && t.counter > 1) return ErrTooManyArguments;
        if ((two || multi) && t.counter > 0) continue;
        out.push_back(std::move(t));
    }
    tokens = std::move(out);
    return ErrOk;
}

namespace {

bool endsOperand(int c) { return c == code::Const || c == ')' || isLetter(c); }
bool endOrCloseOrOperator(int c) { return c == kBoundaryMark || c == ')' || isBinaryOperator(c); }

// The adjacency rule of one token between its neighbours.
bool fitsBetween(int prev, int c, int next)
{
    if (c == '(') return (isUnaryFunction(prev) || isOperandFollower(prev)) && isOperandStart(next);
    if (c == ')') return endsOperand(prev) && endOrCloseOrOperator(next);
    if (c == code::Const || isLetter(c)) return isOperandFollower(prev) && endOrCloseOrOperator(next);
    if (isBinaryOperator(c)) return endsOperand(prev) && isOperandStart(next);
    if (c == code::Neg)
        return (prev == code::Const || isLetter(prev) || isOperandFollower(prev)) &&
               isOperandStart(next);
    if (isUnaryFunction(c)) return isOperandFollower(prev) && next == '(';
    return false;
}

} // namespace

int implicitProductsAndSyntax(Tokens& tokens)
{
    for (size_t i = 0; i < tokens.size(); ++i) {
        const int c = tokens[i].code;
        int next = i + 1 < tokens.size() ? tokens[i + 1].code : kBoundaryMark;
        if (endsOperand(c) && (next == code::Const || next == '(' || isLetter(next) ||
                               isUnaryFunction(next))) {
            tokens.insert(tokens.begin() + static_cast<long>(i) + 1, plain(code::Mul));
            next = code::Mul;
        }
        const int prev = i ? tokens[i - 1].code : kBoundaryMark;
        if (!fitsBetween(prev, c, next)) return ErrInconsistentData;
    }
    return ErrOk;
}

} // namespace qx::compile
