#pragma once
// Whole-file reads and safe writes.
#include <cstdint>
#include <string>
#include <vector>

namespace qx {

// Reads a whole file, refusing one larger than maxBytes. False when it cannot be read.
bool readWholeFile(const std::string& path, std::vector<uint8_t>& out, size_t maxBytes = 64u << 20);

// Writes `bytes` to a temporary file beside `path`, flushes it, and renames it
// over `path` only when complete: a failed write leaves the old file as it was.
bool writeFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes);
bool writeFileAtomically(const std::string& path, const std::string& text);

// The per-user settings directory: $XDG_CONFIG_HOME/quorvex/ or ~/.config/quorvex/,
// with a trailing '/'. Created when missing; empty when no home can be found.
std::string settingsDirectory();
// The settings directory followed directly by the file name.
std::string settingsPath(const std::string& fileName);

} // namespace qx
