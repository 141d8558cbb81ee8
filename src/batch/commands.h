#pragma once
// The sub-commands of quorvex-batch. Each takes the arguments after its name
// and returns the process exit status.
#include <string>
#include <vector>

namespace qx::batch {

using Args = std::vector<std::string>;

struct Command {
    const char* name;
    int (*run)(const Args& args);
    const char* summary;
};

// All sub-commands, in the order `--help` lists them.
const std::vector<Command>& commands();

} // namespace qx::batch
