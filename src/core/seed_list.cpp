#include "core/seed_list.h"

#include "core/real_text.h"

#include <cctype>

namespace qx {

namespace {

std::string trimmed(const std::string& s)
{
    size_t a = 0, b = s.size();
    while (a < b && std::isspace(static_cast<unsigned char>(s[a])))
        ++a;
    while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1])))
        --b;
    return s.substr(a, b - a);
}

std::string withoutBlanks(const std::string& s)
{
    std::string out;
    for (char ch : s)
        if (!std::isspace(static_cast<unsigned char>(ch)))
            out += ch;
    return out;
}

// Where the imaginary term of "a+bi" starts: the last sign that is neither
// the first character nor the sign of an exponent; npos when there is none.
size_t imaginaryStart(const std::string& s)
{
    for (size_t k = s.size(); k-- > 1;)
        if ((s[k] == '+' || s[k] == '-') && s[k - 1] != 'e' && s[k - 1] != 'E')
            return k;
    return std::string::npos;
}

// "b" of "bi": empty or a bare sign stands for 1 or -1.
bool readImaginary(const std::string& s, Real& im)
{
    if (s.empty() || s == "+") {
        im = 1;
        return true;
    }
    if (s == "-") {
        im = -1;
        return true;
    }
    return parseRealText(s, im);
}

} // namespace

bool evaluateSeedText(const std::string& text, Complex& out)
{
    std::string s = withoutBlanks(text);
    Real re = 0, im = 0;
    if (const size_t comma = s.find(','); comma != std::string::npos) {
        if (!parseRealText(s.substr(0, comma), re) || !parseRealText(s.substr(comma + 1), im))
            return false;
    } else if (!s.empty() && (s.back() == 'i' || s.back() == 'I')) {
        s.pop_back();
        const size_t k = imaginaryStart(s);
        if (k != std::string::npos && !parseRealText(s.substr(0, k), re))
            return false;
        if (!readImaginary(k == std::string::npos ? s : s.substr(k), im))
            return false;
    } else if (!parseRealText(s, re)) {
        return false;
    }
    out = {re, im};
    return true;
}

std::vector<Seed> parseSeedList(const std::string& text, size_t minLength)
{
    std::vector<Seed> seeds;
    size_t start = 0;
    while (seeds.size() < kMaxSeeds && start <= text.size()) {
        const size_t end = std::min(text.find(';', start), text.size());
        const std::string piece = trimmed(text.substr(start, end - start));
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
