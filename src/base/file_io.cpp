#include "base/file_io.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qx {

bool readWholeFile(const std::string& path, std::vector<uint8_t>& out, size_t maxBytes)
{
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    std::vector<uint8_t> data;
    uint8_t buf[65536];
    size_t n;
    bool ok = true;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) {
        if (data.size() + n > maxBytes) {
            ok = false;
            break;
        }
        data.insert(data.end(), buf, buf + n);
    }
    if (std::ferror(f))
        ok = false;
    std::fclose(f);
    if (ok)
        out = std::move(data);
    return ok;
}

namespace {

bool writeAll(int fd, const uint8_t* p, size_t n)
{
    while (n > 0) {
        const ssize_t w = ::write(fd, p, n);
        if (w < 0)
            return false;
        p += w;
        n -= static_cast<size_t>(w);
    }
    return true;
}

} // namespace

bool writeFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::string tmp = path + ".XXXXXX";
    const int fd = ::mkstemp(tmp.data());
    if (fd < 0)
        return false;
    ::fchmod(fd, 0644); // mkstemp makes the file private; documents are ordinary files
    const bool written = writeAll(fd, bytes.data(), bytes.size()) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || std::rename(tmp.c_str(), path.c_str()) != 0) {
        std::remove(tmp.c_str());
        return false;
    }
    return true;
}

bool writeFileAtomically(const std::string& path, const std::string& text)
{
    return writeFileAtomically(path, std::vector<uint8_t>(text.begin(), text.end()));
}

std::string settingsDirectory()
{
    std::filesystem::path dir;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    if (xdg && *xdg == '/')
        dir = std::filesystem::path(xdg) / "quorvex";
    else if (home && *home)
        dir = std::filesystem::path(home) / ".config" / "quorvex";
    else
        return {};
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    std::string s = dir.string();
    if (s.empty() || s.back() != '/')
        s += '/';
    return s;
}

std::string settingsPath(const std::string& fileName)
{
    return settingsDirectory() + fileName;
}

} // namespace qx
