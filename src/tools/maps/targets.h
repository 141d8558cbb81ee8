#pragma once
// The target inventory of the map tools: which of a list of targets (point,
// region, line, infinity) the orbit of a pixel reaches first, after how many
// steps, and the colour that gives (bands, blend, colour trap, sectors, gray
// printing). The records are stored in documents byte for byte; the engine
// that runs per pixel is a plain value, one copy per worker thread.
#include "base/bytes.h"
#include "expr/compiler.h"
#include "expr/program.h"
#include "model/colour_tables.h"
#include "model/pixel_sweep.h"

#include <array>
#include <atomic>
#include <string>
#include <vector>

namespace qx {

inline constexpr int kMaxTargets = 31;         // indices 0..30
inline constexpr int kNoTarget = 31;           // "no target reached"
inline constexpr size_t kTargetRecordBytes = 1366;
inline constexpr size_t kTargetTextBytes = 256; // 255 characters and a NUL

enum class TargetKind : int { Point = 0, Region = 1, Line = 2, Infinity = 3 };
enum TargetPattern : int { PatternBands = 0, PatternBlend = 1, PatternTrap = 2 };

// One target as stored (texts A..E, the prepared values, the sectors).
struct TargetRecord {
    int16_t code = 0;      // kind + 100 * pattern
    uint8_t flag = 0;      // kept with the record
    std::array<std::string, 5> texts; // A..E
    // Prepared values: point centre x / infinity blend constant; centre y /
    // infinity 1/ln d / region trap 1/(upper - lower); radius / line
    // threshold; radius squared / |w|^2; reference x / region lower bound;
    // reference y.
    std::array<Real, 6> values{};
    bool sectors = false;
    int16_t sectorCount = 0;

    TargetKind kind() const { return static_cast<TargetKind>(code % 100); }
    int pattern() const { return code / 100; }
    friend bool operator==(const TargetRecord&, const TargetRecord&) = default;
};

// The three constructors of the presets.
TargetRecord pointTarget(const std::string& centre, const std::string& radius, int pattern = PatternBands);
TargetRecord lineTarget(const std::string& equation, const std::string& distance, int pattern = PatternBands);
// A region 0 < R(x,y) with the default colour-trap distance
// "(1-abs(x)-abs(y))sqrt(0.5)" and bounds 0.0 and 0.1.
TargetRecord regionTarget(const std::string& inequality, int pattern = PatternBands);
// Degree d >= 1 makes it a blend target (code 103) with d as its third text.
TargetRecord infinityTarget(const std::string& threshold, int degree);
// What "new" appends: a point at 0 with radius 0.01.
TargetRecord newTarget();

// The 1366 bytes of a record (the five tree references are written as 0).
void encodeTarget(ByteWriter& w, const TargetRecord& r);
// False for a short read, a text without its NUL, or a kind or pattern the
// inventory does not have; `r` is then unspecified.
bool decodeTarget(ByteReader& rd, TargetRecord& r);

// The compiled texts of a record.
struct TargetTrees {
    std::array<TreePtr, 5> trees;
};

// Builds the trees from the texts (the tool's mode: one complex text for a
// centre, or x and y in two texts in the real tools). Returns 0, or the
// compiler's code; `out` is unchanged on failure.
int compileTarget(ExprContext& cx, const TargetRecord& r, bool realTool, TargetTrees& out);
// Evaluates the trees and fills the record's prepared values.
void prepareTarget(ExprContext& cx, TargetRecord& r, TargetTrees& t, bool realTool);

// The colours of one target: its colour table, gray table, trap colours
// (edge, centre) and sector colours.
struct TargetColours {
    ColourTable table;
    std::array<Rgb, 2> anchors{0, 0}; // the sequence's first two anchors
    std::array<Rgb, 2> trap{0x000080, 0x0000FF};
    std::vector<Rgb> sectors;
};

// Where an orbit ended.
struct OrbitEnd {
    int target = kNoTarget;
    int32_t count = 0;
    Complex w;   // the final point
    bool interrupted = false;
};

// The per-pixel work of the map tools over one inventory, compiled to the
// fast program form. Copy it once per worker thread.
class TargetEngine {
public:
    struct Setup {
        bool realTool = false;
        const ExprNode* map = nullptr;  // F (complex: of Z; real: of X and Y)
        const ExprNode* map2 = nullptr; // G of the real tools
        std::vector<TargetRecord> records; // prepared
        std::vector<const TargetTrees*> trees;
        std::vector<TargetColours> colours;
        int32_t maxReps = 400;
        int noTargetIndex = 0;   // palette index of the no-target colour
        Rgb noTargetColour = 0;
        bool grayPrint = false;
        bool noTargetGrayWhite = false;
        // Parameter planes: the pixel sets the parameter (complex: C; real:
        // A and B) and the orbit starts at the critical point(s); targets
        // whose record flag is set are prepared again for every pixel.
        bool parameterPlane = false;
        const ExprNode* critical = nullptr;  // complex seed, or x of the real seed
        const ExprNode* critical2 = nullptr; // y of the real seed
    };
    TargetEngine() = default;
    TargetEngine(const EvalEnv& env, const Setup& setup);

    // The orbit from `start` to the first target it reaches (lowest index
    // first) within the maximum reps; `stop` is looked at every 4096 steps.
    OrbitEnd orbit(Complex start, const std::atomic<bool>* stop = nullptr);
    // The colour and row-buffer code of an orbit's end at pixel (col, row).
    PixelValue colour(const OrbitEnd& end, int col, int row);
    // The orbit of a pixel at (x, y): from the point itself in a dynamic
    // plane; in a parameter plane the parameter is set, the dependent targets
    // prepared and the orbit starts at the critical point (no target when it
    // cannot be evaluated).
    OrbitEnd pixelOrbit(Real x, Real y, const std::atomic<bool>* stop = nullptr);
    // Where the orbit of the pixel at (x, y) starts (the point, or the
    // critical point for the parameter); `ok` false when it cannot be evaluated.
    Complex orbitStart(Real x, Real y, bool& ok);
    // One application of the map (0 when it cannot be evaluated; `ok` then false).
    Complex map(Complex w);
    Complex map(Complex w, bool& ok);
    // The interrupt flag that also ends long ITER, SUM and PROD loops of the map.
    void setStop(const std::atomic<bool>* stop) { program_.flags().stop = stop; }
    int targetCount() const { return static_cast<int>(targets_.size()); }

private:
    struct Target {
        TargetKind kind = TargetKind::Point;
        int code = 0;
        Real cx = 0, cy = 0, radius = 0, r2 = 0, threshold = 0;
        Real blendA = 0, blendB = 0; // infinity blend constants
        Real trapLow = 0, trapScale = 0;
        Real refX = 1, refY = 0;
        bool sectors = false;
        int sectorCount = 0;
        int entryA = -1, entryB = -1; // program entries of trees A and B
        bool perPixel = false;        // prepared again for every pixel
        int entryCentre = -1, entryCentreY = -1, entryC = -1, entryD = -1, entryE = -1;
    };
    bool evaluate(int entry, Complex at, Complex& out);
    bool matches(Target& t, Complex w, Complex bound, Real& w2);
    OrbitEnd pointOrbit(Complex start, const std::atomic<bool>* stop);

    void preparePerPixel(Target& t);

    Program program_;
    bool real_ = false;
    bool parameter_ = false;
    int criticalEntry_ = -1, criticalEntry2_ = -1;
    int mapEntry2_ = -1;
    std::vector<Target> targets_;
    std::vector<TargetColours> colours_;
    int32_t maxReps_ = 400;
    int noTargetIndex_ = 0;
    Rgb noTargetColour_ = 0;
    bool grayPrint_ = false;
    bool noTargetGrayWhite_ = false;
    // The leading point targets (those before the first other kind), tested
    // in a tight loop: centre x, centre y, radius squared.
    std::vector<std::array<Real, 3>> points_;
    Real lastW2_ = 0;   // |w|^2 at the last infinity test
    Complex lastBound_; // the point last passed to the map
};

// The angle of the sectors pattern: arg as the inventory computes it.
Real sectorArg(Real x, Real y);

} // namespace qx
