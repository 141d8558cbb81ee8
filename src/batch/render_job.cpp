#include "batch/render_job.h"

#include "batch/documents.h"

#include "base/messages.h"
#include "base/real_text.h"
#include "graphics/export/bmp_writer.h"
#include "registry/launch_table.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <thread>

namespace qx::batch {

void BatchHost::setTitle(const std::string& t)
{
    title_ = t;
    if (tty_ && t.rfind("progress", 0) == 0)
        std::fprintf(stderr, "\r%s ", t.c_str());
}

namespace {

// The one piece of state a signal handler may touch.
volatile std::sig_atomic_t gStopSignal = 0;

extern "C" void onStopSignal(int signal) { gStopSignal = signal; }

} // namespace

void catchStopSignals()
{
    std::signal(SIGINT, onStopSignal);
    std::signal(SIGTERM, onStopSignal);
}

int stopSignal() { return gStopSignal; }

void BatchHost::setTimeLimit(double seconds)
{
    timeLimit_ = seconds;
    start_ = std::chrono::steady_clock::now();
}

int BatchHost::pollInterrupt()
{
    if (gStopSignal)
        return 81;
    if (timeLimit_ > 0 &&
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count() > timeLimit_) {
        timedOut_ = true;
        return 81;
    }
    return 0;
}

int stoppedStatus(const RenderJob& job, const BatchHost& host)
{
    if (const int s = stopSignal()) {
        std::fprintf(stderr, "quorvex-batch %s: stopped by %s; nothing written\n", job.command.c_str(),
                     s == SIGINT ? "SIGINT" : "SIGTERM");
        return 128 + s;
    }
    if (host.timeLimitPassed()) {
        std::fprintf(stderr, "quorvex-batch %s: the time limit of %g s passed; nothing written\n",
                     job.command.c_str(), job.timeLimit);
        return 3;
    }
    return 0;
}

void BatchHost::showMessage(const std::string& text, const std::string&)
{
    std::fprintf(stderr, "%s\n", text.c_str());
}

bool BatchHost::openChildWindow(std::unique_ptr<TVorlWin> model, const WindowPlacement&)
{
    model->attach(*this);
    child_ = std::move(model);
    return true;
}

int usageError(const RenderJob& job, const std::string& what)
{
    std::fprintf(stderr, "quorvex-batch %s: %s (try --help)\n", job.command.c_str(), what.c_str());
    return 2;
}

namespace {

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

// A common option with its value; false (and a message) for a bad one.
bool takeOption(const std::string& name, const std::string& value, RenderJob& job, std::string& error)
{
    Real r = 0;
    int32_t n = 0;
    if (name == "--tool" && (job.tool = toolByBatchName(value)))
        ;
    else if (name == "--tool")
        error = "unknown tool '" + value + "'; the tools are " + toolNames(", ");
    else if (name == "--size" && parseSize(value, job.width, job.height))
        ;
    else if (name == "--centre" && parsePoint(value, job.centre.emplace()))
        ;
    else if (name == "--width" && parseRealText(value, r) && r > 1e-16L)
        job.halfWidth = r;
    else if (name == "--threads" && parseIntText(value, n) && n >= 1 && n <= 1024)
        job.threads = n;
    else if (name == "--time-limit" && parseRealText(value, r) && r > 0 && r < 1e9L)
        job.timeLimit = static_cast<double>(r);
    else if (name == "-o")
        job.output = value;
    else if (name == "--save")
        job.save = value;
    else if (name == "--format" && ExportFormats::builtIn().byName(value))
        job.format = value;
    else if (name == "--pages" && parseIntText(value, n) && n >= 1 && n <= 999999)
        job.pages = n;
    else if (name == "--directive")
        job.directive = value;
    else if (name == "--svg-size" && parseSize(value, job.svgWidth, job.svgHeight) && job.svgWidth >= 10 &&
             job.svgHeight >= 10)
        ;
    else if (name == "--tex-kind" && parseIntText(value, n) && n >= 0 && n <= 3)
        job.texKind = n;
    else if (name == "--tex-box" && parseIntText(value, n) && n >= 0 && n <= 255)
        job.texBox = n;
    else if (name == "--tex-width" && parseRealText(value, r) && r > 0 && r <= 1000)
        job.texWidthCm = r;
    else if (name == "--tex-whitespace" && parseRealText(value, r) && r >= 0 && r <= 10)
        job.texWhitespace = r;
    else if (error.empty())
        error = "bad value '" + value + "' for " + name;
    return error.empty();
}

const char* const kValueOptions[] = {"--tool", "--size", "--centre", "--width", "--threads", "--time-limit",
                                     "-o", "--save"};

// Whether some registered tool takes the option `a` in this command.
bool isToolOption(const std::string& a, bool exportOptions)
{
    for (const ToolDescriptor* t : registeredTools())
        for (const BatchOption& o : t->batchOptions)
            if (a == o.name && (exportOptions || !o.exportOnly))
                return true;
    return false;
}

// Whether the tool option `a` is a switch (it takes no value).
bool isToolSwitch(const std::string& a)
{
    for (const ToolDescriptor* t : registeredTools())
        for (const BatchOption& o : t->batchOptions)
            if (a == o.name && !*o.argument)
                return true;
    return false;
}

bool isCommonOption(const std::string& a, bool exportOptions)
{
    for (const char* o : kValueOptions)
        if (a == o)
            return true;
    return exportOptions && (a == "--format" || a == "--pages" || a == "--directive" || a == "--tex-kind" || a == "--svg-size" ||
                             a == "--tex-box" || a == "--tex-width" || a == "--tex-whitespace");
}

} // namespace

int parseRenderArgs(const Args& args, RenderJob& job, bool exportOptions)
{
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h")
            return 1;
        if (a == "--guess" && !exportOptions) {
            job.guess = true;
            continue;
        }
        const bool common = isCommonOption(a, exportOptions);
        if (!common && !isToolOption(a, exportOptions)) {
            if (a.rfind("-", 0) == 0)
                return usageError(job, "unknown option " + a);
            job.documents.push_back(a);
            continue;
        }
        if (!common && isToolSwitch(a)) {
            job.toolOptions.emplace_back(a, "on");
            continue;
        }
        if (i + 1 >= args.size())
            return usageError(job, a + " needs a value");
        std::string error;
        if (!common)
            job.toolOptions.emplace_back(a, args[++i]);
        else if (!takeOption(a, args[++i], job, error))
            return usageError(job, error);
    }
    if (job.output.empty())
        return usageError(job, "-o FILE is required");
    if (job.documents.size() > 1)
        return usageError(job, "one DOCUMENT at most");
    if (!job.tool && job.documents.empty()) // a document names its own tool
        return usageError(job, "--tool " + toolNames("|") + " or a DOCUMENT is required");
    return 0;
}

namespace {

// "  --name ARG" padded to the help's column, then the help lines.
std::string helpEntry(const std::string& head, const std::string& text)
{
    std::string out = "  " + head;
    out += out.size() < 24 ? std::string(24 - out.size(), ' ') : "\n" + std::string(24, ' ');
    for (char c : text)
        out += c == '\n' ? "\n" + std::string(24, ' ') : std::string(1, c);
    return out + "\n";
}

} // namespace

std::string optionHelp(bool exportOptions)
{
    std::string tools;
    for (const ToolDescriptor* t : registeredTools())
        tools += "\n" + std::string(t->batchName) + ": " + t->title;
    std::string h = helpEntry("--tool TOOL", "which window (required without a DOCUMENT):" + tools);
    h += helpEntry("--size WxH", "picture size in pixels, each side 2..30000, at most\n64 megapixels (default 1024x768)");
    h += helpEntry("--centre X,Y", "centre of the view (default: the window's start view)");
    h += helpEntry("--width W", "half-width of the view in world units (default: the window's)");
    h += helpEntry("--threads N", "worker threads (default: all cores)");
    if (!exportOptions)
        h += helpEntry("--guess", "INEXACT fast preview, off by default: rectangles whose border\n"
                                  "pixels agree are filled without computing their inside, so\n"
                                  "details inside them may be lost (escape-time and map tools)");
    h += helpEntry("--time-limit S", "stop after S seconds with status 3 and write nothing;\n"
                                     "Ctrl+C or SIGTERM stop with status 130 or 143");
    h += helpEntry("-o FILE", exportOptions ? "output file with the format's extension (required;\n"
                                              "overwritten if it exists; with pages, the first page's name)"
                                            : "output file, *.png or *.bmp (required)");
    if (exportOptions) {
        h += helpEntry("--pages N", "pages of an animation, 1..999999 (default 1)");
        h += helpEntry("--directive TEXT", "what the pages animate: letters A..W, or \\REPS, \\PROM, \\ZOOM");
        h += helpEntry("--svg-size WxH", "SVG: the size the header gives, each at least 10 (default the\n"
                                         "picture's; the drawing stays in its pixels)");
        h += helpEntry("--tex-kind K", "PiCTeX file: 0 TeX standalone (a box, default), 1 LaTeX2e standalone,\n"
                                       "2 TeX compilable, 3 TeX insertable");
        h += helpEntry("--tex-box N", "PiCTeX box number of kind 0, 0..255 (default 0)");
        h += helpEntry("--tex-width CM", "PiCTeX picture width in centimetres (default 8)");
        h += helpEntry("--tex-whitespace F", "PiCTeX: lines keep F letters' room from every label\n"
                                             "(0 to 10, default 0: off)");
    }
    h += helpEntry("--save FILE", "also write the document of the picture (the tool's\nextension)");
    // Each tool option once, grouped by the tools that take it.
    std::vector<std::pair<std::string, std::string>> groups; // takers, entries
    std::vector<std::string> seen;
    for (const ToolDescriptor* t : registeredTools())
        for (const BatchOption& o : t->batchOptions) {
            if ((o.exportOnly && !exportOptions) || std::find(seen.begin(), seen.end(), o.name) != seen.end())
                continue;
            seen.push_back(o.name);
            std::string takers;
            for (const ToolDescriptor* u : registeredTools())
                for (const BatchOption& p : u->batchOptions)
                    if (std::string(p.name) == o.name)
                        takers += (takers.empty() ? "" : ", ") + std::string(u->batchName);
            auto g = std::find_if(groups.begin(), groups.end(), [&](const auto& x) { return x.first == takers; });
            if (g == groups.end())
                g = groups.insert(groups.end(), {takers, ""});
            g->second += helpEntry(*o.argument ? std::string(o.name) + " " + o.argument : std::string(o.name), o.help);
        }
    h += helpEntry("--help", "this text");
    for (const auto& [takers, entries] : groups)
        h += "\nOptions of " + takers + ":\n" + entries;
    return h;
}

std::string toolExamples(const std::string& command)
{
    std::string out;
    for (const ToolDescriptor* t : registeredTools()) {
        std::string lines = t->batchExamples;
        for (size_t at = 0, end; (end = lines.find('\n', at)) != std::string::npos; at = end + 1) {
            const std::string line = lines.substr(at, end - at);
            if (line.find("quorvex-batch " + command + " ") == 0)
                out += "  " + line + "\n";
        }
    }
    return out;
}

std::string documentExtension(const ToolDescriptor& tool)
{
    const int row = rowOfTool(tool);
    return row >= 0 ? kLaunchTable[row].extension : "";
}

bool endsWith(std::string s, const std::string& tail)
{
    for (char& ch : s)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

void render(TVorlWin& win)
{
    win.setProgressReports(true);
    win.paint();
    while (win.tick())
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

int prepareWindow(RenderJob& job, std::unique_ptr<TVorlWin>& win)
{
    if (job.documents.empty()) {
        win = job.tool->create();
        return 0;
    }
    const ToolDescriptor* named = job.tool;
    if (loadDocument(job.documents[0], win, job.tool))
        return 1;
    if (named && named != job.tool)
        return usageError(job, "the document is a " + std::string(job.tool->batchName) + " document, not " +
                                   named->batchName);
    return 0;
}

namespace {

bool takesOption(const ToolDescriptor& tool, const std::string& name)
{
    for (const BatchOption& o : tool.batchOptions)
        if (name == o.name)
            return true;
    return false;
}

} // namespace

int setUpWindow(const RenderJob& job, BatchHost& host, TVorlWin& win)
{
    catchStopSignals(); // commands without a render keep the default: Ctrl+C ends them at once
    host.setTimeLimit(job.timeLimit);
    win.attach(host);
    win.resize(job.width, job.height);
    win.setSweepThreads(job.threads);
    win.setSweepGuess(job.guess);
    for (const auto& [name, value] : job.toolOptions)
        if (!takesOption(*job.tool, name))
            return usageError(job, name + " does not apply to --tool " + job.tool->batchName);
    // The tool's options first: an example or a generator sets its own view,
    // which the view options then change.
    std::string error;
    if (job.tool->applyBatchOptions)
        if (const int e = job.tool->applyBatchOptions(win, job.toolOptions, error)) {
            if (e == 2)
                return usageError(job, error);
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
    if (TVorlWin* child = host.child()) { // what the batch renders instead
        child->resize(job.width, job.height);
        child->setSweepThreads(job.threads);
        child->setSweepGuess(job.guess);
    }
    if (job.centre || job.halfWidth) {
        const View& v = win.view();
        const WorldPoint c = job.centre.value_or(WorldPoint{v.centerX, v.centerY});
        if (!win.setView(c.x, c.y, job.halfWidth.value_or(v.halfWidth)))
            return usageError(job, "bad view");
    }
    return 0;
}

int saveDocument(const RenderJob& job, TVorlWin& win)
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
