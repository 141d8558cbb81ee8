// quorvex-batch render: builds the window model a user would open, applies
// the options as the window's own dialogs would, runs the window's render
// (the threaded sweep) and writes the picture it shows.
#include "batch/cmd_render.h"

#include "batch/documents.h"
#include "core/messages.h"
#include "core/real_text.h"
#include "graphics/export/bmp_writer.h"
#include "graphics/export/png_writer.h"
#include "tools/mandel/mj_period.h"
#include "tools/mandel/tjulwin.h"
#include "tools/mandel/tmanwin.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <unistd.h>

namespace qx::batch {

namespace {

constexpr const char* kHelp =
    "usage: quorvex-batch render --tool mandel|julia [options] -o FILE\n"
    "       quorvex-batch render DOCUMENT [options] -o FILE\n"
    "\n"
    "Draws the picture a Mandelbrot or Julia window shows and writes it as PNG or BMP\n"
    "(chosen by the extension of FILE). Every option left out keeps the window's default,\n"
    "or the value of the DOCUMENT (.man or .jul) when one is given.\n"
    "\n"
    "  --tool mandel|julia   which window (required without a DOCUMENT)\n"
    "  --size WxH            picture size in pixels, each side 2..30000, at most\n"
    "                        64 megapixels (default 1024x768)\n"
    "  --centre X,Y          centre of the view (default -0.75,0 for mandel, 0,0 for julia)\n"
    "  --width W             half-width of the view in world units (default 1.4 / 2.1)\n"
    "  --c TEXT              julia only: the parameter c, as \"re,im\" or \"re+imi\"\n"
    "                        (default: a random point of the main cardioid's boundary)\n"
    "  --degree D            exponent d of z^d + c, 2..10 (default 2)\n"
    "  --reps N              maximum repetitions, 2..2147483647; N@1 samples five points\n"
    "                        per pixel (default 400)\n"
    "  --threshold T         escape when x*x + y*y > T (default 4; blend mode raises it\n"
    "                        to 256, binary mode to 100)\n"
    "  --mode M              bands, dem, blend, binary or iim (julia only; default bands)\n"
    "  --threads N           worker threads (default: all cores)\n"
    "  -o FILE               output file, *.png or *.bmp (required)\n"
    "  --save FILE           also write the document of the picture (*.man for\n"
    "                        mandel, *.jul for julia)\n"
    "  --help                this text\n"
    "\n"
    "Progress is shown when standard error is a terminal.\n"
    "\n"
    "Examples:\n"
    "  quorvex-batch render --tool mandel -o mandel.png\n"
    "  quorvex-batch render --tool mandel --centre -0.7436,0.1318 --width 0.002 --reps 2000 -o zoom.bmp\n"
    "  quorvex-batch render --tool julia --c -0.12256+0.74486i --size 800x800 --mode blend -o rabbit.png\n";

// What the command line asks for; unset options keep the window's defaults.
struct RenderJob {
    std::string tool;
    int width = 1024, height = 768;
    std::optional<WorldPoint> centre;
    std::optional<Real> halfWidth;
    std::optional<std::string> c, degree, reps, threshold, mode;
    int threads = 0;
    std::string output;
    std::string save;
    std::vector<std::string> documents; // positional arguments: reserved for documents
};

// A host without a screen: dialogs are cancelled, errors and progress go to stderr.
class BatchHost final : public Host {
public:
    void setTitle(const std::string& t) override
    {
        title_ = t;
        if (tty_ && t.rfind("progress", 0) == 0)
            std::fprintf(stderr, "\r%s ", t.c_str());
    }
    std::string title() const override { return title_; }
    void showError(int code, const std::string&) override { errors.push_back(code); }
    void showMessage(const std::string& text, const std::string&) override
    {
        std::fprintf(stderr, "%s\n", text.c_str());
    }
    bool inputText(const std::string&, std::string&) override { return false; }
    bool inputTwo(const std::string&, std::string&, const std::string&, std::string&) override { return false; }
    bool inputMany(const std::string&, const std::vector<std::string>&, std::vector<std::string>&) override
    {
        return false;
    }
    bool askYesNo(const std::string&) override { return false; }
    bool chooseOne(const std::string&, const std::vector<std::string>&, int&) override { return false; }
    std::string openFileName(const std::string&, const std::string&) override { return {}; }
    std::string saveFileName(const std::string&, const std::string&) override { return {}; }
    void requestRepaint() override {}
    void showProgressImage() override {}
    int pollInterrupt() override { return 0; }
    void playTone(int, int) override {}
    void pauseMs(int) override {}
    void setClipboardText(const std::string&) override {}

    bool terminal() const { return tty_; }
    std::vector<int> errors;

private:
    std::string title_;
    bool tty_ = isatty(fileno(stderr)) != 0;
};

int usageError(const std::string& what)
{
    std::fprintf(stderr, "quorvex-batch render: %s (try --help)\n", what.c_str());
    return 2;
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
    else {
        error = (name.rfind("-", 0) == 0 ? "bad value '" + value + "' for " : "unknown option ") + name;
        return false;
    }
    return true;
}

const char* const kValueOptions[] = {"--tool", "--size", "--centre", "--width", "--c", "--degree", "--reps",
                                     "--threshold", "--mode", "--threads", "-o", "--save"};

bool takesValue(const std::string& a)
{
    for (const char* o : kValueOptions)
        if (a == o)
            return true;
    return false;
}

// 0 and the job, 1 for --help, 2 after a usage message.
int parseArgs(const Args& args, RenderJob& job)
{
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h")
            return 1;
        if (!takesValue(a)) {
            if (a.rfind("-", 0) == 0)
                return usageError("unknown option " + a);
            job.documents.push_back(a);
            continue;
        }
        if (i + 1 >= args.size())
            return usageError(a + " needs a value");
        std::string error;
        if (!takeOption(a, args[++i], job, error))
            return usageError(error);
    }
    if (job.tool.empty() && job.documents.empty())
        return usageError("--tool mandel|julia or a DOCUMENT is required");
    if (job.output.empty())
        return usageError("-o FILE is required");
    if (job.documents.size() > 1)
        return usageError("one DOCUMENT at most");
    return 0;
}

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

// The options as the window's own dialogs take them; 0 or a usage error.
int applyOptions(const RenderJob& job, TMJ0Win& win)
{
    if (job.centre || job.halfWidth) {
        const View& v = win.view();
        const WorldPoint c = job.centre.value_or(WorldPoint{v.centerX, v.centerY});
        if (!win.setView(c.x, c.y, job.halfWidth.value_or(v.halfWidth)))
            return usageError("bad view");
    }
    if (job.c) {
        Complex c;
        if (!win.isJulia())
            return usageError("--c applies to --tool julia only");
        if (!parseComplexText(*job.c, c))
            return usageError("cannot understand --c '" + *job.c + "'");
        win.setParameter(c);
    }
    if (job.degree)
        if (const int e = win.applyDegree(*job.degree))
            return usageError("--degree " + *job.degree + ": " + messageText(e) + " (2..10)");
    MJParamTexts t = paramTexts(win.params());
    if (job.mode && !modeFromName(*job.mode, t.mode))
        return usageError("unknown --mode " + *job.mode);
    t.threshold = job.threshold.value_or(t.threshold);
    t.maxReps = job.reps.value_or(t.maxReps);
    if (const int e = win.applySettings(t))
        return usageError(std::string(fieldOption(e)) + ": " + messageText(e));
    return 0;
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

// Runs the window's paint path to the end, as a screen host's timer would.
void render(TMJ0Win& win)
{
    win.setProgressReports(true);
    win.paint();
    while (win.tick())
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

int writePicture(const std::string& path, const Image& image)
{
    const PixelsView view{image.width, image.height, image.pixels.data()};
    return endsWith(path, ".bmp") ? writeBmp(path, view) : writePng(path, view);
}

// The window of --tool, or the one holding the document; 0, 1 after an
// "error E:" report, or 2 after a usage message.
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
        return usageError("the document is a " + std::string(toolName(*win)) + " document, not " + job.tool);
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

} // namespace

int runRender(const Args& args)
{
    RenderJob job;
    if (const int r = parseArgs(args, job))
        return r == 1 ? (std::fputs(kHelp, stdout), 0) : r;
    if (!endsWith(job.output, ".png") && !endsWith(job.output, ".bmp"))
        return usageError("the output file must end in .png or .bmp");
    std::unique_ptr<TMJ0Win> win;
    if (const int r = prepareWindow(job, win))
        return r;
    const char* docExt = win->isJulia() ? ".jul" : ".man";
    if (!job.save.empty() && !endsWith(job.save, docExt))
        return usageError(std::string("--save needs a file ending in ") + docExt);
    BatchHost host;
    win->attach(host);
    win->resize(job.width, job.height);
    win->setSweepThreads(job.threads);
    if (const int e = applyOptions(job, *win))
        return e;
    const auto t0 = std::chrono::steady_clock::now();
    render(*win);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    if (host.terminal())
        std::fputs("\r", stderr);
    if (const int e = writePicture(job.output, win->picture())) {
        std::fprintf(stderr, "quorvex-batch render: %s: %s\n", job.output.c_str(), messageText(e).c_str());
        return 1;
    }
    if (const int e = saveDocument(job, *win))
        return e;
    const std::string c = win->isJulia() ? ", c = " + formatComplex(win->parameter(), 7) : "";
    std::fprintf(stderr, "%s: %dx%d %s%s, %.2f s\n", job.output.c_str(), job.width, job.height,
                 job.tool.c_str(), c.c_str(), seconds);
    return 0;
}

} // namespace qx::batch
