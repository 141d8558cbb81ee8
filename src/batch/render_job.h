#pragma once
// What the render and export commands share: the options that set up a tool
// window, a host without a screen, and the render loop. Tools are found in
// the registry; the options a tool takes besides the common ones come from
// its registration.
#include "batch/commands.h"
#include "model/host.h"
#include "registry/tool_registry.h"

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace qx::batch {

// What the command line asks for; unset options keep the window's defaults.
struct RenderJob {
    std::string command = "render"; // the sub-command, for messages
    const ToolDescriptor* tool = nullptr; // --tool, or the document's tool
    int width = 1024, height = 768;
    std::optional<WorldPoint> centre;
    std::optional<Real> halfWidth;
    int threads = 0;
    bool guess = false;                 // render only: --guess, inexact previews
    std::string output;
    std::string save;                   // --save: also write the document
    std::vector<std::string> documents; // positional arguments: documents
    std::string format;                 // export only
    int pages = 1;                      // export only: --pages
    std::string directive;              // export only: --directive
    int texKind = 0, texBox = 0;        // export only: --tex-kind, --tex-box
    Real texWidthCm = 8;                // export only: --tex-width
    Real texWhitespace = 0;             // export only: --tex-whitespace
    int svgWidth = 0, svgHeight = 0;    // export only: --svg-size
    BatchOptionValues toolOptions;      // options only some tools take
    double timeLimit = 0;               // --time-limit SECONDS, 0: none
};

// Ctrl+C (SIGINT) and SIGTERM stop a render between rows instead of killing
// the process, so that no output file is left half written.
void catchStopSignals();
// The signal that stopped the work, or 0.
int stopSignal();

// A host without a screen: dialogs are cancelled, errors and progress go to stderr.
class BatchHost final : public Host {
public:
    void setTitle(const std::string& t) override;
    std::string title() const override { return title_; }
    void showError(int code, const std::string&) override { errors.push_back(code); }
    void showMessage(const std::string& text, const std::string&) override;
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
    // Q when a stop signal came or the time limit passed.
    int pollInterrupt() override;
    void setTimeLimit(double seconds);
    bool timeLimitPassed() const { return timedOut_; }
    void playTone(int, int) override {}
    void setClipboardText(const std::string&) override {}

    bool terminal() const { return tty_; }
    std::vector<int> errors;
    // A window a tool option opened (a parameter plane's Julia child): the
    // batch renders it instead of the tool's own.
    bool openChildWindow(std::unique_ptr<TVorlWin> model, const WindowPlacement& placement) override;
    TVorlWin* child() const { return child_.get(); }

private:
    std::unique_ptr<TVorlWin> child_;
    std::string title_;
    bool tty_ = isatty(fileno(stderr)) != 0;
    double timeLimit_ = 0;
    bool timedOut_ = false;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

// Prints "quorvex-batch COMMAND: what (try --help)"; returns 2.
int usageError(const RenderJob& job, const std::string& what);
// 0 and the job, 1 for --help, 2 after a usage message. With `exportOptions`
// --format and the tools' export options are accepted as well. Positional
// arguments are collected as documents; the caller decides about them.
int parseRenderArgs(const Args& args, RenderJob& job, bool exportOptions);
// The help lines of the common options (`exportOptions` as above) and of
// every option a registered tool takes, with the tools that take it.
std::string optionHelp(bool exportOptions);
// The examples of every registered tool for `command`, indented.
std::string toolExamples(const std::string& command);
// The window of --tool, or the one holding the job's document (which also
// sets job.tool); 0, 1 after an "error E:" report, or 2 after a usage message.
int prepareWindow(RenderJob& job, std::unique_ptr<TVorlWin>& win);
// Attaches the host, sizes the window and applies the view and the tool's
// options as the window's own dialogs would; 0 or a usage error.
int setUpWindow(const RenderJob& job, BatchHost& host, TVorlWin& win);
// After the render: 130 / 143 after a stop signal, 3 after the time limit
// (each with a message and no output written), else 0.
int stoppedStatus(const RenderJob& job, const BatchHost& host);
// --save: writes the window's document; 0, or 1 after an "error E:" report.
int saveDocument(const RenderJob& job, TVorlWin& win);
// The extension of the tool's documents (".man").
std::string documentExtension(const ToolDescriptor& tool);
// Runs the window's paint path to the end, as a screen host's timer would.
void render(TVorlWin& win);
// Case-insensitive file name ending.
bool endsWith(std::string s, const std::string& tail);

} // namespace qx::batch
