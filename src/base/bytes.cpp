#include "base/bytes.h"

#include <cstring>

namespace qx {

static_assert(sizeof(long double) >= 10, "the 80-bit extended real is required");

bool ByteReader::take(size_t n, const uint8_t*& p)
{
    if (!ok_ || n > size_ - pos_) {
        ok_ = false;
        return false;
    }
    p = data_ + pos_;
    pos_ += n;
    return true;
}

namespace {
uint64_t fromLe(const uint8_t* p, int n)
{
    uint64_t v = 0;
    for (int i = n - 1; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}
} // namespace

bool ByteReader::u8(uint8_t& v)
{
    const uint8_t* p;
    if (!take(1, p)) return false;
    v = p[0];
    return true;
}

bool ByteReader::i16(int16_t& v)
{
    const uint8_t* p;
    if (!take(2, p)) return false;
    v = static_cast<int16_t>(fromLe(p, 2));
    return true;
}

bool ByteReader::u16(uint16_t& v)
{
    const uint8_t* p;
    if (!take(2, p)) return false;
    v = static_cast<uint16_t>(fromLe(p, 2));
    return true;
}

bool ByteReader::i32(int32_t& v)
{
    const uint8_t* p;
    if (!take(4, p)) return false;
    v = static_cast<int32_t>(fromLe(p, 4));
    return true;
}

bool ByteReader::u32(uint32_t& v)
{
    const uint8_t* p;
    if (!take(4, p)) return false;
    v = static_cast<uint32_t>(fromLe(p, 4));
    return true;
}

bool ByteReader::real(Real& v)
{
    const uint8_t* p;
    if (!take(10, p)) return false;
    long double r = 0;
    std::memcpy(&r, p, 10); // x86-64: the 10 significant bytes come first
    v = r;
    return true;
}

bool ByteReader::bytes(void* out, size_t n)
{
    const uint8_t* p;
    if (!take(n, p)) return false;
    if (n) std::memcpy(out, p, n);
    return true;
}

bool ByteReader::skip(size_t n)
{
    const uint8_t* p;
    return take(n, p);
}

bool ByteReader::fixedText(size_t n, std::string& v)
{
    const uint8_t* p;
    if (!take(n, p)) return false;
    // At most n - 1 characters, as the writer stores them: a field without
    // its terminator reads as the writer would write it back.
    size_t len = 0;
    while (len + 1 < n && p[len] != 0)
        ++len;
    v.assign(reinterpret_cast<const char*>(p), len);
    return true;
}

void ByteWriter::le(uint64_t v, int n)
{
    for (int i = 0; i < n; ++i)
        out_.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void ByteWriter::real(Real v)
{
    uint8_t buf[sizeof(long double)] = {};
    long double r = v;
    std::memcpy(buf, &r, sizeof r);
    out_.insert(out_.end(), buf, buf + 10);
}

void ByteWriter::bytes(const void* p, size_t n)
{
    const auto* b = static_cast<const uint8_t*>(p);
    out_.insert(out_.end(), b, b + n);
}

void ByteWriter::fixedText(const std::string& v, size_t n)
{
    if (n == 0) return;
    const size_t len = v.size() < n - 1 ? v.size() : n - 1;
    out_.insert(out_.end(), v.begin(), v.begin() + static_cast<long>(len));
    out_.insert(out_.end(), n - len, 0);
}

} // namespace qx
