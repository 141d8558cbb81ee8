#include "model/seed_list.h"

#include "base/real_text.h"
#include "expr/text_eval.h"

#include <algorithm>
#include <limits>

#include <cctype>

namespace qx {


bool evaluateSeedText(const std::string& text, Complex& out)
{
    // A seed is a number: only the constants e and i may appear, so a stray word
    // ("junk" would read as j*u*n*k) is refused rather than taken as 0. Every
    // other variable holds NaN, which makes any text that reads one fail.
    ExprContext cx(true);
    const Real nan = std::numeric_limits<Real>::quiet_NaN();
    for (size_t slot = 0; slot < cx.env.vars.size(); ++slot)
        if (slot != kSlotE && slot != kSlotI)
            cx.env.vars[slot] = {nan, nan};
    // "a,b" gives the two parts separately; anything else is one complex expression.
    if (const size_t comma = text.find(','); comma != std::string::npos && text.find('(') == std::string::npos) {
        Real re = 0, im = 0;
        if (EvaluateRealText(cx, text.substr(0, comma), re) || EvaluateRealText(cx, text.substr(comma + 1), im) ||
            re != re || im != im)
            return false;
        out = {re, im};
        return true;
    }
    Complex v;
    if (EvaluateComplexText(cx, text, v) || v.re != v.re || v.im != v.im)
        return false;
    out = v;
    return true;
}

std::vector<Seed> parseSeedList(const std::string& text, size_t minLength)
{
    std::vector<Seed> seeds;
    size_t start = 0;
    while (seeds.size() < kMaxSeeds && start <= text.size()) {
        const size_t end = std::min(text.find(';', start), text.size());
        const std::string piece = trimmedText(text.substr(start, end - start));
        Complex v;
        if (piece.size() < std::max<size_t>(minLength, 1) || piece.size() > kMaxSeedText ||
            !evaluateSeedText(piece, v))
            break;
        seeds.push_back({v, piece});
        start = end + 1;
    }
    return seeds;
}

std::string seedListText(const std::vector<Seed>& seeds)
{
    std::string s;
    for (const Seed& seed : seeds)
        s += (s.empty() ? "" : "; ") + seed.text;
    return s;
}

std::vector<Seed> defaultSeeds()
{
    return {{Complex{0, 0}, "0 + 0i"}};
}

} // namespace qx
