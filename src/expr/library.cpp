#include "expr/library.h"

#include "base/messages.h"

#include <array>
#include <cctype>

namespace qx {

namespace {

constexpr size_t kMaxText = 4999;
constexpr size_t kMaxProtected = 31;

bool isNameLetter(char c) { return (c >= 'A' && c <= 'Z') || c == '@'; }

// Position of the first call of `name`: a maximal letter run equal to it,
// directly followed by '('; npos if none.
size_t findCall(const std::string& text, const std::string& name)
{
    size_t i = 0;
    while (i < text.size()) {
        if (!isNameLetter(text[i])) { ++i; continue; }
        size_t j = i;
        while (j < text.size() && isNameLetter(text[j])) ++j;
        if (j - i == name.size() && text.compare(i, name.size(), name) == 0 && j < text.size() &&
            text[j] == '(')
            return i;
        i = j;
    }
    return std::string::npos;
}

// Splits the argument text at the commas of bracket depth 0.
std::vector<std::string> splitArguments(const std::string& inner)
{
    std::vector<std::string> args(1);
    int depth = 0;
    for (char c : inner) {
        if (c == '(') ++depth;
        if (c == ')') --depth;
        if (c == ',' && depth == 0) args.emplace_back();
        else args.back() += c;
    }
    return args;
}

// The definition with U, V, W replaced by the bracketed arguments; protected
// names are copied untouched (the longest one wins at each position).
std::string substitute(const std::string& definition, const std::vector<std::string>& args,
                       const std::vector<std::string>& guarded)
{
    std::string out = "(";
    for (size_t i = 0; i < definition.size();) {
        size_t best = 0;
        for (const auto& g : guarded)
            if (g.size() > best && definition.compare(i, g.size(), g) == 0) best = g.size();
        if (best) {
            out += definition.substr(i, best);
            i += best;
            continue;
        }
        const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(definition[i])));
        const int slot = c == 'U' ? 0 : c == 'V' ? 1 : c == 'W' ? 2 : -1;
        if (slot >= 0 && slot < static_cast<int>(args.size())) out += "(" + args[slot] + ")";
        else if (c != ' ') out += c;
        ++i;
    }
    return out + ")";
}

int expandOneCall(std::string& text, const UserFunction& f, size_t at,
                  const std::vector<std::string>& guarded)
{
    const size_t open = at + f.name.size();
    int depth = 0;
    size_t close = open;
    for (; close < text.size(); ++close) {
        if (text[close] == '(') ++depth;
        if (text[close] == ')' && --depth == 0) break;
    }
    if (close >= text.size()) return ErrUnbalancedBrackets;
    if (close == open + 1) return ErrMissingData;
    const auto args = splitArguments(text.substr(open + 1, close - open - 1));
    const int arity = f.arity >= 1 && f.arity <= 3 ? f.arity : 1;
    if (static_cast<int>(args.size()) < arity) return ErrMissingData;
    if (static_cast<int>(args.size()) > arity) return ErrTooManyArguments;
    const std::string body = substitute(f.definition, args, guarded);
    if (text.size() - (close + 1 - at) + body.size() > kMaxText) return ErrOutOfBounds;
    text.replace(at, close + 1 - at, body);
    return ErrOk;
}

} // namespace

std::vector<std::string> protectedNames(const FunctionLibrary& library)
{
    std::vector<std::string> names = {"SUM", "GAUSS", "JOINU", "HVS", "JOINV", "POW", "POWER",
                                      "JOINW"};
    for (const auto& f : library.functions) {
        if (f.name.find_first_of("UVW") == std::string::npos) continue;
        if (names.size() < kMaxProtected) names.push_back(f.name);
        else names.back() = f.name;
    }
    return names;
}

int expandUserFunctions(std::string& text, const FunctionLibrary& library)
{
    if (library.functions.empty()) return ErrOk;
    const auto guarded = protectedNames(library);
    for (auto f = library.functions.rbegin(); f != library.functions.rend(); ++f) {
        if (f->name.empty()) continue;
        for (size_t at = findCall(text, f->name); at != std::string::npos;
             at = findCall(text, f->name))
            if (const int e = expandOneCall(text, *f, at, guarded)) return e;
    }
    return ErrOk;
}

} // namespace qx
