// The Mandelbrot and Julia windows as registered tools: their launch rows,
// documents, batch options, `info` lines and the settings dialog JPARAM.
#include "tools/mandel/mj_tool.h"

#include "base/messages.h"
#include "base/real_text.h"
#include "model/seed_list.h"
#include "tools/mandel/mj_document.h"
#include "tools/mandel/mj_period.h"
#include "tools/mandel/tjulwin.h"
#include "tools/mandel/tmanwin.h"

#include <cstdio>

namespace qx {

namespace {

const char* const kModeNames[] = {"bands", "dem", "iim", "blend", "binary"};

bool modeFromName(const std::string& name, DisplayMode& mode)
{
    for (int i = 0; i < 5; ++i)
        if (name == kModeNames[i]) {
            mode = static_cast<DisplayMode>(i);
            return true;
        }
    return false;
}

// The option behind a settings-dialog code (the thickness is not an option).
const char* fieldOption(int code)
{
    if (code >= 1000)
        return code >= 2000 ? "thickness" : "--reps";
    return code == ErrOutOfBounds ? "--mode" : "--threshold";
}

// --seeds turns the orbit overlay on with the seed list typed as in the
// window's dialog; --orbit-length sets the points per orbit.
bool applyOrbitOptions(TMJ0Win& win, const BatchOptionValues& values, std::string& error)
{
    if (const std::string* n = batchOptionValue(values, "--orbit-length"))
        if (win.setOrbitLength(*n)) {
            error = "--orbit-length needs a whole number above 0";
            return false;
        }
    if (const std::string* seeds = batchOptionValue(values, "--seeds")) {
        win.setSeedListText(*seeds);
        if (win.seeds().empty()) {
            error = "cannot understand --seeds '" + *seeds + "'";
            return false;
        }
        win.setOverlayOrbits(true);
    }
    return true;
}

// The options in the order the window's own dialogs would take them:
// parameter, degree, then the settings dialog, then the orbits.
bool applyMJOptions(TVorlWin& base, const BatchOptionValues& values, std::string& error)
{
    auto& win = dynamic_cast<TMJ0Win&>(base);
    if (const std::string* text = batchOptionValue(values, "--c")) {
        Complex c;
        if (win.evaluateConstant(*text, c)) {
            error = "cannot understand --c '" + *text + "'";
            return false;
        }
        win.setParameter(c);
    }
    if (const std::string* d = batchOptionValue(values, "--degree"))
        if (const int e = win.applyDegree(*d)) {
            error = "--degree " + *d + ": " + messageText(e) + " (2..10)";
            return false;
        }
    MJParamTexts t = paramTexts(win.params());
    if (const std::string* m = batchOptionValue(values, "--mode"); m && !modeFromName(*m, t.mode)) {
        error = "unknown --mode " + *m;
        return false;
    }
    if (const std::string* v = batchOptionValue(values, "--threshold"))
        t.threshold = *v;
    if (const std::string* v = batchOptionValue(values, "--reps"))
        t.maxReps = *v;
    if (const int e = win.applySettings(t)) {
        error = std::string(fieldOption(e)) + ": " + messageText(e);
        return false;
    }
    return applyOrbitOptions(win, values, error);
}

int applyOptions(TVorlWin& base, const BatchOptionValues& values, std::string& error)
{
    return applyMJOptions(base, values, error) ? 0 : 2;
}

std::string real(Real v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.18Lg", v);
    return buf;
}

std::string describe(const TVorlWin& base)
{
    const auto& win = dynamic_cast<const TMJ0Win&>(base);
    const View& v = win.view();
    const MJParams p = win.params();
    const int mode = static_cast<int>(p.mode);
    return std::string("kind: ") + (win.isJulia() ? "julia" : "mandel") + " (" + std::to_string(win.windowKind()) +
           ")\nversion: " + std::to_string(win.fileHeader().version) + "\ncentre: " + real(v.centerX) + "," +
           real(v.centerY) + "\nwidth: " + real(v.halfWidth) + "\nc: " + real(p.c.re) + "," + real(p.c.im) +
           "\ndegree: " + std::to_string(p.degree) + "\nmaximum reps: " + std::to_string(p.maxReps) +
           (p.antiAlias ? "@1" : "") + "\nmode: " + (mode >= 0 && mode <= 4 ? kModeNames[mode] : "?") + "\n";
}

std::string juliaReport(const TVorlWin& base)
{
    return ", c = " + formatComplex(dynamic_cast<const TMJ0Win&>(base).parameter(), 7);
}

// JPARAM: threshold, maximum reps (with "@1" for anti-aliasing), the DEM
// thickness beside its mode, and the five display modes (IIM in Julia
// windows only). A refused entry puts back threshold and thickness.
class MJParamForm final : public DialogForm {
public:
    explicit MJParamForm(TMJ0Win& win) : win_(win) {}
    std::string name() const override { return "JPARAM"; }
    std::string title() const override { return "settings"; }
    FormState load() const override
    {
        const MJParamTexts t = paramTexts(win_.params());
        FormState s;
        s.fields = {{"threshhold xx + yy =", t.threshold, true},
                    {"maximum reps", t.maxReps, false},
                    {"", t.thickness, true}};
        s.choices = {{"bands"}, {"DEM  thickness (pixels)", true, 2}, {"IIM", win_.isJulia()}, {"blend"}, {"binary"}};
        s.chosen = static_cast<int>(t.mode);
        return s;
    }
    int apply(const std::vector<std::string>& texts, int chosen) override
    {
        if (texts.size() != 3 || chosen < 0 || chosen > 4)
            return ErrInconsistentData;
        return win_.applySettings({texts[0], texts[1], texts[2], static_cast<DisplayMode>(chosen)});
    }

private:
    TMJ0Win& win_;
};

std::unique_ptr<DialogForm> dialogForm(TVorlWin& base, const std::string& name)
{
    auto* win = dynamic_cast<TMJ0Win*>(&base);
    if (!win || name != "JPARAM")
        return nullptr;
    return std::make_unique<MJParamForm>(*win);
}

const BatchOption kDegree{"--degree", "D", "exponent d of z^d + c, 2..10 (default 2)"};
const BatchOption kReps{"--reps", "N",
                        "maximum repetitions, 2..2147483647; N@1 samples five points\nper pixel (default 400)"};
const BatchOption kThreshold{"--threshold", "T",
                             "escape when x*x + y*y > T (default 4; blend mode raises it\nto 256, binary mode to 100)"};
const BatchOption kMode{"--mode", "M", "bands, dem, blend, binary, or iim in a Julia window\n(default bands)"};
const BatchOption kOrbitLength{"--orbit-length", "N", "points per seed orbit (default 1000)", true};

} // namespace

const ToolDescriptor& mandelbrotTool()
{
    static const ToolDescriptor d = [] {
        ToolDescriptor t;
        t.launchCommand = 401;
        t.batchName = "mandel";
        t.title = "Mandelbrot window";
        t.create = [] { return std::unique_ptr<TVorlWin>(std::make_unique<TManWin>()); };
        t.documentKind = kMandelKind;
        t.batchOptions = {kDegree, kReps, kThreshold,
                          kMode,
                          kOrbitLength};
        t.applyBatchOptions = applyOptions;
        t.describe = describe;
        t.dialogForm = dialogForm;
        t.batchExamples = "quorvex-batch render --tool mandel -o mandel.png\n"
                          "quorvex-batch render --tool mandel --centre -0.7436,0.1318 --width 0.002 --reps 2000 "
                          "-o zoom.bmp\n";
        return t;
    }();
    return d;
}

const ToolDescriptor& juliaTool()
{
    static const ToolDescriptor d = [] {
        ToolDescriptor t;
        t.launchCommand = 402;
        t.batchName = "julia";
        t.title = "Julia window";
        t.create = [] { return std::unique_ptr<TVorlWin>(std::make_unique<TJulWin>()); };
        t.documentKind = kJuliaKind;
        t.batchOptions = {{"--c", "TEXT",
                           "the parameter c, \"re,im\" or a complex expression of constants\n"
                           "such as -0.12+0.74i or 0.5cis(0.4pi) (default: a random point\n"
                           "of the main cardioid's boundary)"},
                          kDegree, kReps, kThreshold,
                          kMode,
                          {"--seeds", "TEXT",
                           "seed points separated by ';' (\"0.1; 0.2+0.3i\"); their orbits\n"
                           "are drawn over the picture",
                           true},
                          kOrbitLength};
        t.applyBatchOptions = applyOptions;
        t.describe = describe;
        t.reportSuffix = juliaReport;
        t.dialogForm = dialogForm;
        t.batchExamples =
            "quorvex-batch render --tool julia --c -0.12256+0.74486i --size 800x800 --mode blend -o rabbit.png\n"
            "quorvex-batch export --format eps --tool julia --c -0.12256+0.74486i --mode iim -o rabbit.eps\n"
            "quorvex-batch export --format eps --tool julia --c -1 --seeds \"0.1; 0.3i\" --orbit-length 200 "
            "-o orbits.eps\n";
        return t;
    }();
    return d;
}

} // namespace qx
