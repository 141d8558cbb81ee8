// The text steps of the compiler: normalisation, brackets, names and the
// rewriting of the SUM, PROD and CHI forms.
#include "base/messages.h"
#include "expr/compile_steps.h"
#include "expr/compiler.h"
#include "expr/names.h"

#include <cctype>

namespace qx::compile {

namespace {

inline int byteAt(const std::string& s, size_t i) { return static_cast<unsigned char>(s[i]); }

inline char codeByte(int c) { return static_cast<char>(static_cast<unsigned char>(c)); }

// Index of the bracket that closes the one opened at `open`, or npos.
size_t matchingClose(const std::string& s, size_t open)
{
    int depth = 0;
    for (size_t i = open; i < s.size(); ++i) {
        if (s[i] == '(') ++depth;
        if (s[i] == ')' && --depth == 0) return i;
    }
    return std::string::npos;
}

// True when the bracket opened at `open` holds a comma at its own depth.
bool bracketHasComma(const std::string& s, size_t open)
{
    if (open >= s.size() || s[open] != '(') return false;
    int depth = 0;
    for (size_t i = open; i < s.size(); ++i) {
        if (s[i] == '(') ++depth;
        if (s[i] == ')' && --depth == 0) return false;
        if (s[i] == ',' && depth == 1) return true;
    }
    return false;
}

// The code bytes for a letter run that is a name, or an empty text.
std::string nameBytes(std::string_view run, const std::string& text, size_t after, bool cx)
{
    const bool twoArgs = bracketHasComma(text, after);
    if (run == "ABS") return std::string(1, codeByte(twoArgs ? 190 : 139));
    if (run == "ARG") {
        if (twoArgs) return std::string(1, codeByte(191));
        return cx ? std::string(1, codeByte(147)) : std::string();
    }
    const int c = lookupName(run, cx);
    if (c > 1000) return std::string{codeByte(180), static_cast<char>(c - 1000)};
    return c ? std::string(1, codeByte(c)) : std::string();
}

// A letter run that is no name is a product: its first letter, '*', the rest.
std::string readRun(std::string_view run, const std::string& text, size_t after, bool cx)
{
    std::string out;
    while (!run.empty()) {
        const std::string name = nameBytes(run, text, after, cx);
        if (!name.empty()) return out + name;
        out += run[0];
        if (run.size() > 1) out += '*';
        run.remove_prefix(1);
    }
    return out;
}

} // namespace

int normalise(std::string_view input, std::string& text)
{
    text.clear();
    for (char ch : input) {
        const int c = static_cast<unsigned char>(ch);
        if (c == ' ') continue;
        if (c < 32 || c > 126) return ErrCannotUnderstand;
        text += static_cast<char>(std::toupper(c));
    }
    if (text.empty()) return ErrNothingToDo;
    return text.size() > kMaxExpressionText ? ErrOutOfBounds : ErrOk;
}

namespace {

bool isNamedConstant(int c)
{
    return c == code::PiName || c == code::PhiName || c == code::Pinf || c == code::Ninf || c == code::DegName;
}

// Whether a letter run reads as letters followed by a unary function name
// (SIN, XSIN): the first suffix that is a name decides, as in readRun.
bool runEndsInFunction(const std::string& run, bool complexMode)
{
    for (size_t i = 0; i < run.size(); ++i)
        if (const int c = lookupName(std::string_view(run).substr(i), complexMode))
            return c < 1000 && isUnaryFunction(c) && !isNamedConstant(c);
    return false;
}

} // namespace

int checkFunctionBeforeBlank(std::string_view input, bool complexMode)
{
    for (size_t i = 0; i < input.size();) {
        if (!std::isalpha(static_cast<unsigned char>(input[i])) && input[i] != '@') {
            ++i;
            continue;
        }
        std::string run;
        for (; i < input.size() && (std::isalpha(static_cast<unsigned char>(input[i])) || input[i] == '@'); ++i)
            run += static_cast<char>(std::toupper(static_cast<unsigned char>(input[i])));
        size_t j = i;
        while (j < input.size() && input[j] == ' ')
            ++j;
        const bool operandFollows = j > i && j < input.size() &&
                                    (std::isalnum(static_cast<unsigned char>(input[j])) || input[j] == '.' ||
                                     input[j] == '@');
        if (operandFollows && runEndsInFunction(run, complexMode))
            return ErrInconsistentData;
    }
    return ErrOk;
}

int checkBrackets(std::string& text)
{
    int depth = 0;
    for (char& c : text) {
        if (c == '[' || c == '{') c = '(';
        if (c == ']' || c == '}') c = ')';
        if (c == '(') ++depth;
        if (c == ')' && --depth < 0) return ErrUnbalancedBrackets;
    }
    return depth == 0 ? ErrOk : ErrUnbalancedBrackets;
}

int recogniseNames(std::string& text, bool complexMode)
{
    std::string out;
    for (size_t i = 0; i < text.size();) {
        if (!isLetter(byteAt(text, i))) { out += text[i++]; continue; }
        size_t j = i;
        while (j < text.size() && isLetter(byteAt(text, j))) ++j;
        out += readRun(std::string_view(text).substr(i, j - i), text, j, complexMode);
        i = j;
    }
    text = std::move(out);
    return text.size() > kMaxExpressionText ? ErrOutOfBounds : ErrOk;
}

namespace {

// Commas at depth 1 of the bracket opened at `open` and closed at `close`.
std::vector<size_t> topCommas(const std::string& s, size_t open, size_t close)
{
    std::vector<size_t> commas;
    int depth = 0;
    for (size_t i = open; i < close; ++i) {
        if (s[i] == '(') ++depth;
        if (s[i] == ')') --depth;
        if (s[i] == ',' && depth == 1) commas.push_back(i);
    }
    return commas;
}

// Rewrites every SUM(f,n,a,b) and PROD(f,n,a,b) in `text` (and inside their
// parts) as ((f 220 n) SUM (a 221 b)).
int rewriteSumProdIn(std::string& text)
{
    for (size_t p = 0; p < text.size(); ++p) {
        const int c = byteAt(text, p);
        if (c != code::Sum && c != code::Prod) continue;
        if (p + 1 >= text.size() || text[p + 1] != '(') return ErrCannotUnderstand;
        const size_t close = matchingClose(text, p + 1);
        if (close == std::string::npos) return ErrCannotUnderstand;
        const auto commas = topCommas(text, p + 1, close);
        if (commas.size() < 3 || commas[1] != commas[0] + 2 || !isLetter(byteAt(text, commas[0] + 1)))
            return ErrCannotUnderstand;
        std::string f = text.substr(p + 2, commas[0] - p - 2);
        std::string a = text.substr(commas[1] + 1, commas[2] - commas[1] - 1);
        std::string b = text.substr(commas[2] + 1, close - commas[2] - 1);
        for (std::string* part : {&f, &a, &b})
            if (const int e = rewriteSumProdIn(*part)) return e;
        const std::string form = "((" + f + codeByte(code::Summand) + text[commas[0] + 1] + ")" +
                                 codeByte(c) + "(" + a + codeByte(code::Range) + b + "))";
        text.replace(p, close + 1 - p, form);
        if (text.size() > kMaxExpressionText) return ErrOutOfBounds;
        p += form.size() - 1;
    }
    return ErrOk;
}

} // namespace

int rewriteSumProd(std::string& text) { return rewriteSumProdIn(text); }

int rewriteChi(std::string& text)
{
    for (size_t p = text.find(codeByte(code::Chi)); p != std::string::npos;
         p = text.find(codeByte(code::Chi))) {
        if (p + 1 >= text.size() || text[p + 1] != '(') return ErrCannotUnderstand;
        const size_t c1 = text.find(',', p + 2);
        const size_t c2 = c1 == std::string::npos ? c1 : text.find(',', c1 + 1);
        if (c2 == std::string::npos) return ErrCannotUnderstand;
        size_t end = c2 + 1;
        for (int depth = 0; end < text.size(); ++end) {
            if (text[end] == '(') ++depth;
            if (text[end] == ')' && depth-- == 0) break;
        }
        if (end >= text.size()) return ErrCannotUnderstand;
        const std::string a = text.substr(p + 2, c1 - p - 2);
        const std::string b = text.substr(c1 + 1, c2 - c1 - 1);
        const std::string x = text.substr(c2 + 1, end - c2 - 1);
        const char hvs = codeByte(code::Hvs);
        // Bracketed as a whole so that chi(...)^2 and 1/chi(...) keep their meaning.
        const std::string form =
            std::string("(") + hvs + "((" + x + ")-(" + a + "))*" + hvs + "((" + b + ")-(" + x + ")))";
        text.replace(p, end + 1 - p, form);
        if (text.size() > kMaxExpressionText) return ErrOutOfBounds;
    }
    return ErrOk;
}

void markNegations(std::string& text)
{
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '-') continue;
        const int prev = i ? byteAt(text, i - 1) : -1;
        if (prev < 0 || isBinaryOperator(prev) || prev == '(' || prev == ',' || prev == code::Neg)
            text[i] = codeByte(code::Neg);
    }
}

} // namespace qx::compile
