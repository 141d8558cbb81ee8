#include "model/seed_list.h"

#include "base/real_text.h"

#include <algorithm>

#include <cctype>

namespace qx {


std::vector<Seed> parseSeedList(const std::string& text, const SeedReader& read, size_t minLength)
{
    std::vector<Seed> seeds;
    size_t start = 0;
    while (seeds.size() < kMaxSeeds && start <= text.size()) {
        const size_t end = std::min(text.find(';', start), text.size());
        const std::string piece = trimmedText(text.substr(start, end - start));
        Complex v;
        if (piece.size() < std::max<size_t>(minLength, 1) || piece.size() > kMaxSeedText ||
            !read(piece, v))
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
