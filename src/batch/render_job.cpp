#include "batch/render_job.h"

#include "batch/documents.h"
#include "model/seed_list.h"

#include "base/messages.h"
#include "base/real_text.h"
#include "graphics/export/bmp_writer.h"
#include "tools/mandel/mj_dialog.h"
#include "tools/mandel/tjulwin.h"
#include "tools/mandel/tmanwin.h"

#include <chrono>
#include <cstdio>
#include <thread>

namespace qx::batch {

void BatchHost::setTitle(const std::string& t)
{
    title_ = t;
    if (tty_ && t.rfind("progress", 0) == 0)
        std::fprintf(stderr, "\r%s ", t.c_str());
}

void BatchHost::showMessage(const std::string& text, const std::string&)
{
    std::fprintf(stderr, "%s\n", text.c_str());
}

int usageError(const RenderJob& job, const std::string& what)
{
    std::fprintf(stderr, "quorvex-batch %s: %s (try --help)\n", job.command.c_str(), what.c_str());
    return 2;
}

namespace {

// --seeds turns the orbit overlay on with the seed list typed as in the
// window's dialog; --orbit-length sets the points per orbit.
int applyOrbitOptions(const RenderJob& job, TMJ0Win& win)
{
    if (job.orbitLength)
        if (win.setOrbitLength(*job.orbitLength))
            return usageError(job, "--orbit-length needs a whole number above 0");
    if (job.seeds) {
        if (!win.isJulia())
            return usageError(job, "--seeds applies to --tool julia only");
        win.setSeedListText(*job.seeds);
        if (win.seeds().empty())
            return usageError(job, "cannot understand --seeds '" + *job.seeds + "'");
        win.setOverlayOrbits(true);
    }
    return 0;
}


// At most 64 megapixels: the picture and its row codes take 8 bytes a pixel.
constexpr int64_t kMaxPixels = int64_t(1) << 26;

bool parseSize(const std::string& s, int& w, int& h)
{
    const auto x = s.find_first_of("xX");
    int32_t a = 0, b = 0;
    if (x == std::string::npos || !parseIntText(s.substr(0, x), a) || !parseIntText(s.substr(x + 1), b))
        return false;
    if (a < 2 || b < 2 || a > kMaxPictureSide || b > kMaxPictureSide || int64_t(a) * b > kMaxPixels)
        return false;
    w = a;
    h = b;
    return true;
}

bool parsePoint(const std::string& s, WorldPoint& p)
{
    const auto comma = s.find(',');
    return comma != std::string::npos && parseRealText(s.substr(0, comma), p.x) &&
           parseRealText(s.substr(comma + 1), p.y);
}

// One option with its value; false (and a message) for a bad one.
bool takeOption(const std::string& name, const std::string& value, RenderJob& job, std::string& error)
{
    Real r = 0;
    int32_t n = 0;
    if (name == "--tool" && (value == "mandel" || value == "julia"))
        job.tool = value;
    else if (name == "--size" && parseSize(value, job.width, job.height))
        ;
    else if (name == "--centre" && parsePoint(value, job.centre.emplace()))
        ;
    else if (name == "--width" && parseRealText(value, r) && r > 1e-16L)
        job.halfWidth = r;
    else if (name == "--threads" && parseIntText(value, n) && n >= 1 && n <= 1024)
        job.threads = n;
    else if (name == "--c")
        job.c = value;
    else if (name == "--degree")
        job.degree = value;
    else if (name == "--reps")
        job.reps = value;
    else if (name == "--threshold")
        job.threshold = value;
    else if (name == "--mode")
        job.mode = value;
    else if (name == "-o")
        job.output = value;
    else if (name == "--save")
        job.save = value;
    else if (name == "--format" && value == "eps")
        job.format = value;
    else if (name == "--seeds")
        job.seeds = value;
    else if (name == "--orbit-length")
        job.orbitLength = value;
    else {
        error = (name.rfind("-", 0) == 0 ? "bad value '" + value + "' for " : "unknown option ") + name;
        return false;
    }
    return true;
}

const char* const kValueOptions[] = {"--tool", "--size", "--centre", "--width", "--c", "--degree", "--reps",
                                     "--threshold", "--mode", "--threads", "-o", "--save"};

const char* const kExportOptions[] = {"--format", "--seeds", "--orbit-length"};

bool takesValue(const std::string& a, bool exportOptions)
{
    for (const char* o : kValueOptions)
        if (a == o)
            return true;
    if (exportOptions)
        for (const char* o : kExportOptions)
            if (a == o)
                return true;
    return false;
}

} // namespace

int parseRenderArgs(const Args& args, RenderJob& job, bool exportOptions)
{
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h")
            return 1;
        if (!takesValue(a, exportOptions)) {
            if (a.rfind("-", 0) == 0)
                return usageError(job, "unknown option " + a);
            job.documents.push_back(a);
            continue;
        }
        if (i + 1 >= args.size())
            return usageError(job, a + " needs a value");
        std::string error;
        if (!takeOption(a, args[++i], job, error))
            return usageError(job, error);
    }
    if (job.output.empty())
        return usageError(job, "-o FILE is required");
    if (job.documents.size() > 1)
        return usageError(job, "one DOCUMENT at most");
    if (job.tool.empty() && job.documents.empty()) // a document names its own tool
        return usageError(job, "--tool mandel|julia or a DOCUMENT is required");
    return 0;
}

namespace {

bool modeFromName(const std::string& name, DisplayMode& mode)
{
    static const std::pair<const char*, DisplayMode> kModes[] = {
        {"bands", DisplayMode::Bands}, {"dem", DisplayMode::Dem}, {"blend", DisplayMode::Blend},
        {"binary", DisplayMode::Binary}, {"iim", DisplayMode::Iim}};
    for (const auto& [n, m] : kModes)
        if (name == n) {
            mode = m;
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

} // namespace

int applyOptions(const RenderJob& job, TMJ0Win& win)
{
    if (job.centre || job.halfWidth) {
        const View& v = win.view();
        const WorldPoint c = job.centre.value_or(WorldPoint{v.centerX, v.centerY});
        if (!win.setView(c.x, c.y, job.halfWidth.value_or(v.halfWidth)))
            return usageError(job, "bad view");
    }
    if (job.c) {
        Complex c;
        if (!win.isJulia())
            return usageError(job, "--c applies to --tool julia only");
        if (!evaluateSeedText(*job.c, c))
            return usageError(job, "cannot understand --c '" + *job.c + "'");
        win.setParameter(c);
    }
    if (job.degree)
        if (const int e = win.applyDegree(*job.degree))
            return usageError(job, "--degree " + *job.degree + ": " + messageText(e) + " (2..10)");
    MJParamTexts t = paramTexts(win.params());
    if (job.mode && !modeFromName(*job.mode, t.mode))
        return usageError(job, "unknown --mode " + *job.mode);
    t.threshold = job.threshold.value_or(t.threshold);
    t.maxReps = job.reps.value_or(t.maxReps);
    if (const int e = win.applySettings(t))
        return usageError(job, std::string(fieldOption(e)) + ": " + messageText(e));
    return applyOrbitOptions(job, win);
}

std::unique_ptr<TMJ0Win> makeWindow(const std::string& tool)
{
    if (tool == "julia")
        return std::make_unique<TJulWin>();
    return std::make_unique<TManWin>();
}

bool endsWith(std::string s, const std::string& tail)
{
    for (char& ch : s)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

void render(TMJ0Win& win)
{
    win.setProgressReports(true);
    win.paint();
    while (win.tick())
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

int prepareWindow(RenderJob& job, std::unique_ptr<TMJ0Win>& win)
{
    if (job.documents.empty()) {
        win = makeWindow(job.tool);
        return 0;
    }
    if (const int e = loadDocument(job.documents[0], win)) {
        reportFileError(e);
        return 1;
    }
    if (!job.tool.empty() && job.tool != toolName(*win))
        return usageError(job, "the document is a " + std::string(toolName(*win)) + " document, not " + job.tool);
    job.tool = toolName(*win);
    return 0;
}

int saveDocument(const RenderJob& job, TMJ0Win& win)
{
    if (job.save.empty())
        return 0;
    if (const int e = win.writeDocument(job.save)) {
        reportFileError(e);
        return 1;
    }
    return 0;
}

} // namespace qx::batch
