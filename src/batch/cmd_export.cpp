// quorvex-batch export: builds the window model a user would open, applies
// the options as the window's own dialogs would, and writes its picture in a
// format of the export table (the same page path as the window's menu).
#include "batch/cmd_export.h"

#include "batch/render_job.h"
#include "base/messages.h"
#include "graphics/export/export_format.h"
#include "model/tvorlswin.h"

#include <cstdio>

namespace qx::batch {

namespace {

// "eps|svg" and the lines of the --format option, from the format table.
std::string formatNames(const char* separator)
{
    std::string names;
    for (const ExportFormat& f : ExportFormats::builtIn().rows())
        names += (names.empty() ? "" : separator) + std::string(f.name);
    return names;
}

std::string help()
{
    std::string formats;
    for (const ExportFormat& f : ExportFormats::builtIn().rows())
        formats += "                        " + std::string(f.name) + ": " + f.label + " (*" + f.extension + ")\n";
    return "usage: quorvex-batch export --format " + formatNames("|") + " [DOCUMENT] [options] -o FILE\n"
           "\n"
           "Writes the picture of a tool window as a file for papers. Vector formats (EPS,\n"
           "SVG, PiCTeX) hold what the tool draws as points and lines (such as the points of\n"
           "the inverse-image method, --mode iim, curves, webs and diagrams), the orbits of\n"
           "the seed list and the axes; escape-time pictures are pixels and go to BMP, and\n"
           "to EMF, an enhanced metafile that holds the pixels under the drawing.\n"
           "With --pages N (2 to 999999) the pages animate what --directive names: letters\n"
           "of constants (their lower to upper bound) or \\REPS, \\PROM, \\ZOOM where the\n"
           "tool has them; the pages are numbered and listed in ANIM.txt or ANIM.tex.\n"
           "Every option left out keeps the window's default, or the DOCUMENT's value.\n"
           "At 96 dpi a 641x481 window gives a 480 x 360 point page.\n"
           "\n"
           "  --format F            the output format (required):\n" + formats +
           "  DOCUMENT              a document to export; options given override its values\n" +
           optionHelp(true) +
           "\n"
           "Examples:\n" + toolExamples("export");
}

} // namespace

int runExport(const Args& args)
{
    RenderJob job;
    job.command = "export";
    if (const int r = parseRenderArgs(args, job, true))
        return r == 1 ? (std::fputs(help().c_str(), stdout), 0) : r;
    const ExportFormat* format = ExportFormats::builtIn().byName(job.format);
    if (!format)
        return usageError(job, "--format " + formatNames("|") + " is required");
    if (!endsWith(job.output, format->extension))
        return usageError(job, std::string("the output file must end in ") + format->extension);
    std::unique_ptr<TVorlWin> win;
    if (const int r = prepareWindow(job, win))
        return r;
    BatchHost host;
    if (const int e = setUpWindow(job, host, *win))
        return e;
    // What the window would show first (the steps of a web asked for with
    // --steps, a drawing job's points) is drawn before the pages; tools that
    // sweep pixels sweep each page themselves.
    const auto* sweeping = dynamic_cast<const TVorlSWin*>(win.get());
    if (!sweeping || !sweeping->exportGeometry())
        render(*win);
    win->setTexSettings(job.texKind, job.texBox, job.texWidthCm);
    win->setTexWhitespace(job.texWhitespace);
    win->setSvgSize(job.svgWidth, job.svgHeight);
    if (const int e = win->exportPages(*format, job.output, std::to_string(job.pages), [](const std::string&) { return true; },
                                       job.directive)) {
        std::fprintf(stderr, "quorvex-batch export: %s: %s\n", job.output.c_str(), messageText(e).c_str());
        return 1;
    }
    if (const int e = saveDocument(job, *win))
        return e;
    std::fprintf(stderr, "%s: %s\n", job.output.c_str(), format->savedMessage().c_str());
    return 0;
}

} // namespace qx::batch
