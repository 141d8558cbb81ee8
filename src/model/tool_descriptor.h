#pragma once
// What a tool registers: its launch-table row, how its window model is made,
// which documents it reads, what quorvex-batch offers for it and the dialogs
// its windows open by name. Each tool folder defines its descriptors; the
// registry (src/registry) lists them, and the frame, the tool windows and the
// batch program find tools there only.
#include "model/dialog_form.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace qx {

class TVorlWin;

// A value option of `quorvex-batch render` and `export` that a tool takes
// besides the common ones (size, view, threads, output, documents).
struct BatchOption {
    const char* name;        // "--c"
    const char* argument;    // "TEXT", shown in the help; "" for a switch without a value
    const char* help;        // one or more lines, '\n' separated
    bool exportOnly = false; // offered by `export` only
};

// The tool options given on a command line, in their order.
using BatchOptionValues = std::vector<std::pair<std::string, std::string>>;

// The value of option `name` (the last one given counts), or null.
inline const std::string* batchOptionValue(const BatchOptionValues& values, const char* name)
{
    const std::string* found = nullptr;
    for (const auto& [n, v] : values)
        if (n == name)
            found = &v;
    return found;
}

struct ToolDescriptor {
    int launchCommand = 0;         // the frame command of its launch-table row
    const char* batchName = "";    // the name after --tool
    const char* title = "";        // the window's name in help texts
    std::unique_ptr<TVorlWin> (*create)() = nullptr;
    int32_t documentKind = -1;     // the kind code that begins its documents

    // quorvex-batch: the options, applied before the view options: 0, or 1
    // for a value the tool refuses ("error E: message" in `error`), or 2 for
    // a misused option (a message for the user); the lines of `info` for a window
    // that holds a document; what a render report adds after the tool name.
    std::vector<BatchOption> batchOptions;
    int (*applyBatchOptions)(TVorlWin& win, const BatchOptionValues& values, std::string& error) = nullptr;
    std::string (*describe)(const TVorlWin& win) = nullptr;
    std::string (*reportSuffix)(const TVorlWin& win) = nullptr;
    const char* batchExamples = ""; // command lines for the help, one per line

    // The form of the dialog `name` for `win`, or null when the window is not
    // one of this tool's or has no such dialog.
    std::unique_ptr<DialogForm> (*dialogForm)(TVorlWin& win, const std::string& name) = nullptr;
};

} // namespace qx
