#pragma once
// String-rewriting curves: a Logo-like turtle reads a string of E..K (move),
// L and R (turn), ( and ) (push and pop), U and D (pen), W..Z (nothing); each
// generation replaces every rewritable character by its replacement string.
// Toolkit-free: the data, the direction table, the turtle walk, the
// rewriting with its size limit, the presets and the random curve.
#include "base/numeric.h"
#include "graphics/view.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qx {

// The 13 rewritable characters, in code order.
inline constexpr std::array<char, 13> kRewritable{'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L', 'R', 'W', 'X', 'Y', 'Z'};
inline constexpr size_t kMaxInitialString = 255;
inline constexpr size_t kMaxReplacement = 32;
// The longest string a generation may have: a longer one is refused (error 4)
// before anything is allocated.
inline constexpr size_t kMaxCurveString = 50'000'000;
inline constexpr int kRandomCurvePoints = 4097;

struct RewritingData {
    std::string initial;                        // upper case, allowed characters only
    std::array<std::string, 91> replacement{};  // by character code (after reset(): the character itself)
    std::array<Real, 7> lengths{1, 1, 1, 1, 1, 1, 1}; // E..K
    int16_t mode = 0;      // bit 0 set: degree mode
    int16_t n = 4;         // sectors (3..360) or turn size in degrees (1..360)
    int16_t direction = 0; // initial direction: sector index, or degrees
    Real rotation = 0;     // radians per generation
    int colour = 24;

    RewritingData() { reset(); }

    bool degreeMode() const { return mode & 1; }
    // Every character its own replacement, lengths 1, direction 0, mode 0, rotation 0.
    void reset();
};

// Whether every character of `s` may appear in a string (E..L, R, W..Z, ( ) D U).
bool allowedCurveText(const std::string& s);
// Upper case.
std::string upperText(std::string s);
// The dialog's rules, normalising `d` (upper case, the initial direction in
// range): 0; 1 for a string with other characters or too long; 6 for n out
// of range (3..360 sectors, 1..360 degrees) or a length that is not positive.
int checkCurveData(RewritingData& d);
// The number of directions: n in sector mode, 360 / gcd(360, n) in degree mode.
int directionCount(const RewritingData& d);
// The initial direction brought into range (negative ones by adding n, then
// modulo n in sector mode and modulo 360 in degree mode).
int16_t normalisedDirection(int16_t direction, int16_t n, bool degreeMode);

// The step vectors of E..K per direction, rotated by the generations so far.
class DirectionTable {
public:
    void build(const RewritingData& d);
    void rotate(Real angle); // every vector, by `angle` radians
    int count() const { return count_; }
    int start() const { return start_; }
    WorldPoint step(int letter, int direction) const { return vectors_[static_cast<size_t>(letter)][static_cast<size_t>(direction)]; }

private:
    int count_ = 4, start_ = 0;
    std::array<std::vector<WorldPoint>, 7> vectors_;
};

// Walks the string with the turtle. `segment` gets each segment drawn with
// the pen down (from, to); `pen` each pen lift (false) or restart (true) and
// each pop, so an exported path can restart. `box` (when not null) is
// extended by every position reached. Returns 0, 3 for an unmatched ')', or
// 81 when `stop` was raised (looked at every 4096 characters).
int walkCurve(const std::string& s, const DirectionTable& t, const std::atomic<bool>* stop,
              const std::function<void(WorldPoint, WorldPoint)>& segment, WorldRect* box = nullptr);

// The length of the next generation of `s` (characters), or -1 when `stop` was raised.
long long nextLength(const std::string& s, const RewritingData& d, const std::atomic<bool>* stop);
// Rewrites `s` into `out`: 0; 4 when the result would pass kMaxCurveString
// (nothing is allocated); 27 when `stop` was raised (`out` unusable).
int rewrite(const std::string& s, const RewritingData& d, const std::atomic<bool>* stop, std::string& out);

struct CurvePreset {
    int command;          // menu command id
    const char* menu;     // the Library entry ("Cantor-like, Arrowhead"); "" for none
    const char* name;     // its short name for the batch program ("Arrowhead")
};
// The library, in menu order, and a preset's data.
const std::vector<CurvePreset>& curvePresets();
// False for a command that is no preset.
bool presetData(int command, RewritingData& d);
inline constexpr int kVonKochPreset = 585;

// The random polygonal curve by midpoint displacement: 4097 points from
// (0, 0) to (u1, u2). `uniform` gives numbers in [0, 1).
std::vector<WorldPoint> randomCurve(const std::function<double()>& uniform);

} // namespace qx
