#pragma once
// quorvex-batch run as a program from a test: its exit status, and its
// standard output when asked (standard error is dropped).
#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace qx::test {

inline int runBatch(const std::string& args, std::string* out = nullptr)
{
    const std::string cmd = std::string(QX_BATCH_EXE) + " " + args + " 2>/dev/null";
    FILE* p = popen(cmd.c_str(), "r");
    if (!p)
        return -1;
    std::string text;
    char buf[4096];
    while (size_t n = fread(buf, 1, sizeof buf, p))
        text.append(buf, n);
    const int status = pclose(p);
    if (out)
        *out = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace qx::test
