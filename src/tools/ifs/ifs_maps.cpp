#include "tools/ifs/ifs_maps.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace qx {

std::string rotaryDilationText(const std::string& p, Complex pValue, const std::string& r, const std::string& t,
                               Real tValue)
{
    const std::string rotation = std::fabs(tValue) < 1e-16L ? "" : "cis(" + t + ")";
    if (std::fabs(pValue.re) + std::fabs(pValue.im) < 1e-16L)
        return "(" + r + ")z" + rotation;
    return p + "+(" + r + ")(z-(" + p + "))" + rotation;
}

Affine affineFromTriangles(const Triangle& p, const Triangle& q)
{
    const Real ux = p[1].x - p[0].x, uy = p[1].y - p[0].y, vx = p[2].x - p[0].x, vy = p[2].y - p[0].y;
    Real det = ux * vy - uy * vx;
    if (std::fabs(det) < 1e-16L)
        det = 1e-16L;
    // The linear part M takes (u, v) to (u', v'): M = [u' v'] [u v]^-1.
    const Real sx = q[1].x - q[0].x, sy = q[1].y - q[0].y, tx = q[2].x - q[0].x, ty = q[2].y - q[0].y;
    Affine m;
    m.a = (sx * vy - tx * uy) / det;
    m.b = (tx * ux - sx * vx) / det;
    m.c = (sy * vy - ty * uy) / det;
    m.d = (ty * ux - sy * vx) / det;
    m.e = q[0].x - m.a * p[0].x - m.b * p[0].y;
    m.f = q[0].y - m.c * p[0].x - m.d * p[0].y;
    return m;
}

std::string linearText(Real cx, Real cy, Real constant)
{
    const auto number = [](Real v) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.17Lg", std::fabs(v));
        return std::string(buf);
    };
    std::string t = (cx < 0 ? "-" : "") + number(cx) + "*x";
    t += (cy < 0 ? " - " : " + ") + number(cy) + "*y";
    t += (constant < 0 ? " - " : " + ") + number(constant);
    return t;
}

std::vector<int16_t> selectionTable(const std::vector<IfsMap>& maps)
{
    std::vector<int16_t> table;
    for (size_t i = 0; i < maps.size(); ++i)
        if (maps[i].visible)
            table.insert(table.end(), static_cast<size_t>(std::clamp<int>(maps[i].weight, 0, kMaxIfsWeight)),
                         static_cast<int16_t>(i));
    return table;
}

IfsStepper::IfsStepper(const EvalEnv& env, bool complex, const std::vector<IfsMap>& maps,
                       const std::vector<std::array<const ExprNode*, 2>>& trees, std::vector<int16_t> sequence)
    : complex_(complex), table_(selectionTable(maps)), sequence_(std::move(sequence))
{
    for (size_t i = 0; i < maps.size(); ++i) {
        const auto& t = i < trees.size() ? trees[i] : std::array<const ExprNode*, 2>{};
        const bool ok = maps[i].visible && t[0] && (complex || t[1]);
        usable_.push_back(ok);
        colours_.push_back(maps[i].colour);
        if (!ok) {
            programs_.emplace_back();
            continue;
        }
        Program p = complex ? Program::compile(env, {t[0]}) : Program::compile(env, {t[0], t[1]});
        if (complex)
            p.bindSlots(kSlotZ);
        else
            p.bindSlots(kSlotX, kSlotY);
        programs_.push_back(std::move(p));
    }
    // A sequence names existing maps only.
    std::erase_if(sequence_, [this](int16_t i) { return i < 0 || static_cast<size_t>(i) >= programs_.size(); });
}

void IfsStepper::setStop(const std::atomic<bool>* stop)
{
    for (Program& p : programs_)
        p.flags().stop = stop;
}

bool IfsStepper::apply(int i, Complex& w, int& colour)
{
    if (i < 0 || static_cast<size_t>(i) >= programs_.size() || !usable_[static_cast<size_t>(i)])
        return false;
    Program& p = programs_[static_cast<size_t>(i)];
    Complex out;
    if (complex_) {
        if (!p.evaluateBound(0, w, out) || !std::isfinite(out.re) || !std::isfinite(out.im))
            return false;
        w = out;
    } else {
        Complex x, y;
        if (!p.evaluateBound(0, {w.re, 0}, {w.im, 0}, x) || !p.evaluateBound(1, {w.re, 0}, {w.im, 0}, y) ||
            !std::isfinite(x.re) || !std::isfinite(y.re))
            return false;
        w = {x.re, y.re};
    }
    colour = colours_[static_cast<size_t>(i)];
    return true;
}

bool IfsStepper::step(Complex& w, std::mt19937& rng, int& colour)
{
    if (!sequence_.empty()) {
        bool any = false;
        for (int16_t i : sequence_) {
            if (!apply(i, w, colour))
                return any;
            any = true;
        }
        return any;
    }
    if (table_.empty())
        return false;
    const uint32_t r = rng() >> 1; // 31 bits
    return apply(table_[r % table_.size()], w, colour);
}

} // namespace qx
