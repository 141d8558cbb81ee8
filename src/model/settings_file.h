#pragma once
// A tool's settings file: the common header, one or two groups of numbered
// slots, and the name of the last document.
#include "model/common_header.h"

#include <array>
#include <string>
#include <vector>

namespace qx {

inline constexpr int kSlotCount = 21;
inline constexpr size_t kDocumentNameBytes = 256;

// Nine arrays of 21 slots; everything defaults to zero.
struct SlotGroup {
    std::array<std::array<int32_t, kSlotCount>, 3> ints{};
    std::array<std::array<Real, kSlotCount>, 3> reals{};
    std::array<std::array<uint8_t, kSlotCount>, 3> bytes{};
};

struct SettingsFile {
    CommonHeader header;
    SlotGroup group1;
    SlotGroup group2;
    std::string lastDocument;
};

// Header (with extraGroups forced to 1), both groups and the last name.
std::vector<uint8_t> encodeSettings(const SettingsFile& s);

// Reads as far as the file goes: a header of another kind or a truncated
// header changes nothing and returns its code; after a good header, what
// follows is taken group by group, and a group or name cut short keeps its
// previous values (the result is then kErrBadIni). Returns 0 when complete.
int decodeSettings(const std::vector<uint8_t>& bytes, int32_t kind, SettingsFile& s);

// The file versions: a missing file returns kErrCannotOpen and changes nothing.
int readSettingsFile(const std::string& path, int32_t kind, SettingsFile& s);
bool writeSettingsFile(const std::string& path, const SettingsFile& s);

} // namespace qx
