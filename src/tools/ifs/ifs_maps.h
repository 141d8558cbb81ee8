#pragma once
// Iterated function systems: up to 30 maps with weights, colours and
// visibility; complex maps by text or as rotary dilations about a fixed
// point; real maps by two texts or as the affine map taking a reference
// triangle to an image triangle; the weighted selection table and the
// random step of the chaos game. Toolkit-free.
#include "base/numeric.h"
#include "expr/program.h"
#include "graphics/view.h"

#include <array>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace qx {

inline constexpr int kMaxIfsMaps = 30;
inline constexpr int kMaxIfsWeight = 100;
inline constexpr size_t kMaxSequence = 49;
inline constexpr int32_t kDefaultIfsBatch = 32768;

using Triangle = std::array<WorldPoint, 3>;

struct IfsMap {
    int16_t weight = 1;
    int16_t colour = 10;
    bool visible = true;
    // Complex maps.
    bool geometric = false;
    std::string text = "z/2", fixedText = "0", dilationText = "0.5", angleText = "0.0";
    Complex fixedPoint{};
    // Real maps.
    bool byTriangle = false;
    std::string newX, newY;
    Triangle image{};
};

// The text of a rotary dilation about p by r and t: "(r)z" when p is 0,
// else "p+(r)(z-(p))", followed by "cis(t)" unless t is 0 (values below
// 1e-16 count as 0).
std::string rotaryDilationText(const std::string& p, Complex pValue, const std::string& r, const std::string& t,
                               Real tValue);

// The affine map (a x + b y + e, c x + d y + f) taking P1, P2, P3 to Q1, Q2,
// Q3; a degenerate P uses 1e-16 as its cross product.
struct Affine {
    Real a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
    WorldPoint apply(WorldPoint p) const { return {a * p.x + b * p.y + e, c * p.x + d * p.y + f}; }
};
Affine affineFromTriangles(const Triangle& p, const Triangle& q);
// "a*x + b*y + e" with the signs written as " + " or " - " (17 significant digits).
std::string linearText(Real cx, Real cy, Real constant);

// For each visible map i in index order, i repeated weight(i) times.
std::vector<int16_t> selectionTable(const std::vector<IfsMap>& maps);

// The maps compiled for the chaos game (one Program per map), a snapshot a
// worker may run while the window changes.
class IfsStepper {
public:
    // `trees` holds one tree per map (complex) or two (real: new x, new y),
    // null for a map that failed to compile.
    IfsStepper(const EvalEnv& env, bool complex, const std::vector<IfsMap>& maps,
               const std::vector<std::array<const ExprNode*, 2>>& trees, std::vector<int16_t> sequence);
    // One random step from w (the whole sequence when there is one): false
    // and w unchanged when no map applies; `colour` becomes the last map's.
    bool step(Complex& w, std::mt19937& rng, int& colour);
    // The map `i` once: false for a hidden or failing map.
    bool apply(int i, Complex& w, int& colour);
    void setStop(const std::atomic<bool>* stop);
    bool empty() const { return table_.empty() && sequence_.empty(); }

private:
    bool complex_;
    std::vector<Program> programs_;
    std::vector<bool> usable_;
    std::vector<int16_t> colours_;
    std::vector<int16_t> table_;
    std::vector<int16_t> sequence_;
};

} // namespace qx
