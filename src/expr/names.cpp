#include "expr/names.h"
#include "expr/node.h"

#include <array>

namespace qx {

namespace {

struct NameEntry {
    const char* name;
    int code;
};

constexpr std::array<NameEntry, 64> kNames{{
    {"ARCTAN", 128}, {"ATN", 128}, {"TAN", 129}, {"COS", 130}, {"EXP", 131}, {"FACT", 132},
    {"INT", 133}, {"SINH", 134}, {"COSH", 135}, {"TANH", 136}, {"ARCCOS", 137}, {"LN", 138},
    {"ABS", 139}, {"ARCSIN", 140}, {"SIN", 142}, {"SEC", 143}, {"CSC", 144}, {"COT", 145},
    {"ARG", 147}, {"SGN", 148}, {"FRAC", 149}, {"LOG", 150}, {"ITER", 151}, {"ROOT", 152},
    {"MAX", 153}, {"MIN", 154}, {"SECH", 155}, {"COTH", 156}, {"CSCH", 157}, {"POW", 158},
    {"BINOM", 159}, {"SUM", 161}, {"PROD", 162}, {"RAND", 163}, {"RND", 163},
    {"RANDOM", 163}, {"ERF", 164}, {"HVS", 165}, {"IFPOS", 166}, {"GAMMA", 169},
    {"CIS", 170}, {"RE", 171}, {"IM", 172}, {"CONJ", 173}, {"GAUSS", 174}, {"NINF", 175},
    {"PINF", 176}, {"CHI", 177}, {"FLOOR", 195}, {"CEIL", 196}, {"MOD", 208}, {"GCD", 209},
    {"ARGSINH", 210}, {"ARGCOSH", 211}, {"ARGTANH", 212}, {"ARGCOTH", 213}, {"ARCCOT", 214},
    {"LG", 215}, {"PI", 227}, {"PHI", 232}, {"SQR", 251}, {"SQRT", 251}, {"DEG", 255},
    {"SOME", 223},
}};

struct Classes {
    std::array<bool, 256> twoArg{}, multiArg{}, binary{}, follower{}, unary{}, start{}, valid{};
};

constexpr Classes buildClasses()
{
    Classes k;
    for (int c : {151, 152, 158, 159, 191, 215}) k.twoArg[c] = true;
    for (int c : {153, 154, 166, 180, 190, 193, 194, 208, 209, 223}) k.multiArg[c] = true;
    for (int c : {int('*'), int('+'), int('-'), int('/'), int('^'), int('|'), 161, 162, 220, 221})
        k.binary[c] = true;
    for (int c = 128; c < 256; ++c) {
        if (k.twoArg[c] || k.multiArg[c]) k.binary[c] = true;
        else if (!k.binary[c]) k.unary[c] = true; // SUM, PROD and their parts are operators
    }
    for (int c = 0; c < 256; ++c) {
        k.follower[c] = k.binary[c] || c == kBoundaryMark || c == 146 || c == '(';
        const bool letter = c >= 64 && c <= 90;
        k.start[c] = c == '#' || c == '(' || letter || k.unary[c];
        k.valid[c] = letter || c == '!' || c == '(' || c == ')' || c == ',' || c == '.' ||
                     (c >= '0' && c <= '9') || k.binary[c] || k.unary[c];
    }
    return k;
}

constexpr Classes kClasses = buildClasses();

bool inRange(int c) { return c >= 0 && c < 256; }

} // namespace

int lookupName(std::string_view run, bool complexMode)
{
    if (run.size() == 5 && run.substr(0, 4) == "JOIN" && run[4] >= 'A' && run[4] <= 'Z')
        return 1001 + (run[4] - 'A');
    for (const auto& e : kNames) {
        if (run != e.name) continue;
        if (!complexMode && (e.code == 170 || e.code == 171 || e.code == 172)) return 0;
        return e.code;
    }
    return 0;
}

bool isLetter(int c) { return c >= 64 && c <= 90; }
bool isTwoArgument(int c) { return inRange(c) && kClasses.twoArg[c]; }
bool isMultiArgument(int c) { return inRange(c) && kClasses.multiArg[c]; }
bool isBinaryOperator(int c) { return inRange(c) && kClasses.binary[c]; }
bool isOperandFollower(int c) { return inRange(c) && kClasses.follower[c]; }
bool isUnaryFunction(int c) { return inRange(c) && kClasses.unary[c]; }
bool isOperandStart(int c) { return inRange(c) && kClasses.start[c]; }
bool isValidToken(int c) { return inRange(c) && kClasses.valid[c]; }

std::string functionName(int c)
{
    switch (c) {
    case code::Atan: return "arctan";
    case code::Abs2: return "abs";
    case code::Arg2: return "arg";
    case code::Sqrt: return "sqrt";
    case code::Rand: return "rand";
    default: break;
    }
    for (const auto& e : kNames)
        if (e.code == c) {
            std::string lower(e.name);
            for (char& ch : lower) ch = static_cast<char>(ch - 'A' + 'a');
            return lower;
        }
    return {};
}

} // namespace qx
