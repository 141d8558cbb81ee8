#include "model/settings_file.h"

#include "base/file_io.h"

namespace qx {

namespace {

void writeGroup(ByteWriter& w, const SlotGroup& g)
{
    for (const auto& a : g.ints)
        for (int32_t v : a)
            w.i32(v);
    for (const auto& a : g.reals)
        for (Real v : a)
            w.real(v);
    for (const auto& a : g.bytes)
        w.bytes(a.data(), a.size());
}

// All or nothing: `g` changes only when the whole group was there.
bool readGroup(ByteReader& r, SlotGroup& g)
{
    SlotGroup next;
    for (auto& a : next.ints)
        for (int32_t& v : a)
            if (!r.i32(v))
                return false;
    for (auto& a : next.reals)
        for (Real& v : a)
            if (!r.real(v))
                return false;
    for (auto& a : next.bytes)
        if (!r.bytes(a.data(), a.size()))
            return false;
    g = next;
    return true;
}

} // namespace

std::vector<uint8_t> encodeSettings(const SettingsFile& s)
{
    ByteWriter w;
    CommonHeader h = s.header;
    h.extraGroups = 1; // both groups always follow
    writeCommonHeader(w, h);
    writeGroup(w, s.group1);
    writeGroup(w, s.group2);
    w.fixedText(s.lastDocument, kDocumentNameBytes);
    return w.take();
}

int decodeSettings(const std::vector<uint8_t>& bytes, int32_t kind, SettingsFile& s)
{
    ByteReader r(bytes);
    if (const int e = readCommonHeader(r, kind, s.header))
        return e;
    if (s.header.version <= 0)
        return 0;
    if (!readGroup(r, s.group1))
        return kErrBadIni;
    if (s.header.extraGroups > 0 && !readGroup(r, s.group2))
        return kErrBadIni;
    std::string name;
    if (!r.fixedText(kDocumentNameBytes, name))
        return kErrBadIni;
    s.lastDocument = name;
    return 0;
}

int readSettingsFile(const std::string& path, int32_t kind, SettingsFile& s)
{
    std::vector<uint8_t> bytes;
    if (path.empty() || !readWholeFile(path, bytes, 1u << 20))
        return kErrCannotOpen;
    return decodeSettings(bytes, kind, s);
}

bool writeSettingsFile(const std::string& path, const SettingsFile& s)
{
    return !path.empty() && writeFileAtomically(path, encodeSettings(s));
}

} // namespace qx
