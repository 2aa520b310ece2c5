#pragma once
// The binary encoding of pages and printer settings inside a snapshot document.
// Internal to the report engine.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "report/page.h"

namespace qnvr::report::codec {

// Thrown when encoded data does not decode; the caller names the document.
struct Malformed : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Little-endian appender.
class ByteWriter {
public:
    void U8(std::uint8_t v) { out_.push_back(static_cast<char>(v)); }
    void U32(std::uint32_t v);
    void U64(std::uint64_t v);
    void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
    void F64(double v);
    void Str(std::string_view s);
    std::string& Bytes() { return out_; }

private:
    std::string out_;
};

// Little-endian reader that throws Malformed instead of reading past the end.
class ByteReader {
public:
    // Keeps a view of in: the bytes must outlive the reader (never a temporary string).
    explicit ByteReader(std::string_view in) : in_(in) {}
    explicit ByteReader(std::string&&) = delete;
    std::uint8_t U8();
    std::uint32_t U32();
    std::uint64_t U64();
    std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
    double F64();         // finite numbers only
    std::string Str();
    bool AtEnd() const { return pos_ == in_.size(); }
    std::size_t Remaining() const { return in_.size() - pos_; }

private:
    std::string_view Take(std::size_t n);
    std::string_view in_;
    std::size_t pos_ = 0;
};

std::string EncodePage(const Page& page);
Page DecodePage(std::string_view bytes);

void EncodeSettings(ByteWriter& w, const PrintSettings& s);
PrintSettings DecodeSettings(ByteReader& r);

// zlib deflate / inflate; Inflate throws Malformed when the data is damaged or its
// size differs from rawSize.
std::string Deflate(std::string_view raw);
std::string Inflate(std::string_view stored, std::size_t rawSize);
// The largest raw size that storedSize compressed bytes can stand for (deflate packs
// at most about 1032 to 1), and never more than a page can plausibly hold.
std::uint64_t MaxInflatedSize(std::uint64_t storedSize);
std::uint32_t Crc32(std::string_view bytes);

}  // namespace qnvr::report::codec
