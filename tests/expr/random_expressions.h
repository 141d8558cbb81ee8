#pragma once
// Random texts of the expression language for agreement tests: every
// operator, function and special form, nested to a given depth.
#include <random>
#include <string>

namespace qx::test {

class RandomExpressions {
public:
    explicit RandomExpressions(unsigned seed) : rng_(seed) {}

    std::string make(int depth)
    {
        if (depth <= 0 || pick(5) == 0) return leaf();
        switch (pick(12)) {
        case 0: case 1: case 2: return "(" + make(depth - 1) + op() + make(depth - 1) + ")";
        case 3: case 4: return unary() + "(" + make(depth - 1) + ")";
        case 5: return binary() + "(" + make(depth - 1) + "," + make(depth - 1) + ")";
        case 6: return "ifpos(" + make(depth - 1) + "|" + make(depth - 1) + "," + make(depth - 1) + ")";
        case 7: return "joinx(" + make(depth - 1) + "|" + leaf() + "," + make(depth - 1) + "|" + leaf() +
                       "," + make(depth - 1) + ")";
        case 8: {
            const char* form = pick(2) ? "sum(" : "prod(";
            return form + make(depth - 1) + ",k," + std::to_string(int(pick(3)) - 1) + "," +
                   std::to_string(pick(4)) + ")";
        }
        case 9: return "iter(" + std::to_string(1 + pick(4)) + "," + make(depth - 1) + ")";
        case 10: return "chi(" + leaf() + "," + leaf() + "," + make(depth - 1) + ")";
        default: return "-" + make(depth - 1) + (pick(4) == 0 ? "!" : "");
        }
    }

private:
    unsigned pick(unsigned n) { return std::uniform_int_distribution<unsigned>(0, n - 1)(rng_); }

    std::string leaf()
    {
        static const char* const leaves[] = {"x", "y", "z", "c", "k", "2", "0.5", "3", "1.25", "pi",
                                             "0", "10", "e", "i", "0.001"};
        return leaves[pick(sizeof leaves / sizeof *leaves)];
    }
    std::string op()
    {
        static const char* const ops[] = {"+", "-", "*", "/", "^", "*", "+"};
        return ops[pick(sizeof ops / sizeof *ops)];
    }
    std::string unary()
    {
        static const char* const f[] = {
            "sin", "cos", "tan", "exp", "ln", "sqrt", "abs", "int", "frac", "floor", "ceil", "sgn",
            "hvs", "sinh", "cosh", "tanh", "sech", "csch", "coth", "sec", "csc", "cot", "arctan",
            "arcsin", "arccos", "arccot", "argsinh", "argcosh", "argtanh", "argcoth", "log", "gauss",
            "erf", "gamma", "fact", "conj", "rand", "re", "im", "cis", "arg"};
        return f[pick(sizeof f / sizeof *f)];
    }
    std::string binary()
    {
        static const char* const f[] = {"pow", "root", "binom", "mod", "gcd", "max", "min",
                                        "some", "abs", "arg", "lg"};
        return f[pick(sizeof f / sizeof *f)];
    }

    std::mt19937 rng_;
};

} // namespace qx::test
