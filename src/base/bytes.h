#pragma once
// Little-endian binary records. Every read checks the length against what
// remains, so a truncated or foreign file gives a failure, never a crash.
#include "base/numeric.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qx {

class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    explicit ByteReader(const std::vector<uint8_t>& bytes) : ByteReader(bytes.data(), bytes.size()) {}

    size_t remaining() const { return ok_ ? size_ - pos_ : 0; }
    size_t position() const { return pos_; }
    // False once any read ran past the end; later reads then fail too.
    bool ok() const { return ok_; }

    bool u8(uint8_t& v);
    bool i16(int16_t& v);
    bool u16(uint16_t& v);
    bool i32(int32_t& v);
    bool u32(uint32_t& v);
    // A 10-byte x87 extended real.
    bool real(Real& v);
    bool bytes(void* out, size_t n);
    bool skip(size_t n);
    // A fixed-size text field: n bytes, text up to the first NUL and at most
    // n - 1 characters (what the writer stores).
    bool fixedText(size_t n, std::string& v);

private:
    bool take(size_t n, const uint8_t*& p);
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    bool ok_ = true;
};

class ByteWriter {
public:
    void u8(uint8_t v) { out_.push_back(v); }
    void i16(int16_t v) { le(static_cast<uint16_t>(v), 2); }
    void u16(uint16_t v) { le(v, 2); }
    void i32(int32_t v) { le(static_cast<uint32_t>(v), 4); }
    void u32(uint32_t v) { le(v, 4); }
    void real(Real v);
    void bytes(const void* p, size_t n);
    // Writes text into a fixed n-byte field, cut to n-1 characters and NUL-padded.
    void fixedText(const std::string& v, size_t n);

    const std::vector<uint8_t>& data() const { return out_; }
    std::vector<uint8_t> take() { return std::move(out_); }

private:
    void le(uint64_t v, int n);
    std::vector<uint8_t> out_;
};

} // namespace qx
