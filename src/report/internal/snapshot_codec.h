#pragma once
// The binary encoding of pages and printer settings inside a snapshot document.
// Internal to the report engine.
#include <cstdint>
#include <memory>
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

// The encodings of the snapshot's format versions: version 1 pages carry every
// operation; from version 2 a page names the artwork it shows (0: none, n: the
// document's n-th artwork record) and artworks are records of their own.
inline constexpr std::uint32_t kFirstFormatVersion = 1;
inline constexpr std::uint32_t kArtworkFormatVersion = 2;

// A page as encoded: the page without its artwork, and the number of the artwork it names.
struct EncodedPageRef {
    Page page;
    std::uint32_t artwork = 0;
};

// Encodes the page's own operations (its artwork is not encoded; artworkNo names it).
std::string EncodePage(const Page& page, std::uint32_t artworkNo);
EncodedPageRef DecodePage(std::string_view bytes, std::uint32_t formatVersion);

std::string EncodeArtwork(const Artwork& artwork);
Artwork DecodeArtwork(std::string_view bytes);

void EncodeSettings(ByteWriter& w, const PrintSettings& s);
PrintSettings DecodeSettings(ByteReader& r);

// zlib deflate / inflate; Inflate throws Malformed when the data is damaged or its
// size differs from rawSize.
std::string Deflate(std::string_view raw);
std::string Inflate(std::string_view stored, std::size_t rawSize);
// Deflates one record after another with one compressor, set up once: a run of
// thousands of pages does not pay zlib's set-up for each. The same bytes as Deflate.
class Deflater {
public:
    Deflater();
    ~Deflater();
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;
    std::string Deflate(std::string_view raw);

private:
    struct Stream;
    std::unique_ptr<Stream> stream_;
};

// The largest raw size that storedSize compressed bytes can stand for (deflate packs
// at most about 1032 to 1), and never more than a page can plausibly hold.
std::uint64_t MaxInflatedSize(std::uint64_t storedSize);
std::uint32_t Crc32(std::string_view bytes);

}  // namespace qnvr::report::codec
