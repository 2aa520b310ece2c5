// Page encoding: all numbers little-endian, reals as IEEE doubles, texts as a 32-bit
// length and UTF-8 bytes.
//
//   page    = f64 width, f64 height, u32 artwork, ops      (format version 2)
//   page    = f64 width, f64 height, ops                   (format version 1)
//   artwork = ops
//   ops     = u32 count, count x op
//   op      = u8 kind, u8 flags (bit 0: screen only), then by kind
//     0 text  = f64 x, f64 y, str family, f64 size, u8 align (0 left, 1 centre, 2 right), str text
//     1 line  = f64 x1, f64 y1, f64 x2, f64 y2, f64 width
//     2 rect  = f64 x, f64 y, f64 w, f64 h, f64 line width, f64 fill gray, f64 corner w, f64 corner h
//   settings = str printer, str paper, str bin, i32 orientation, u8 collate, i32 duplex, i32 copies
//
// The document around the pages is described in snapshot.cpp.
#include "report/internal/snapshot_codec.h"

#include <zlib.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

namespace qnvr::report::codec {
namespace {

enum OpKind : std::uint8_t { kText = 0, kLine = 1, kRect = 2 };
constexpr std::uint8_t kScreenOnlyFlag = 1;
// A page of a form holds a few hundred operations; anything far beyond is damage.
constexpr std::uint32_t kMaxOpsPerPage = 1'000'000;
// The fewest bytes one operation takes: kind, flags and a text with empty strings
// (x, y, family, size, alignment, text), shorter than a line's five numbers.
constexpr std::size_t kMinOpBytes = 2 + 8 + 8 + 4 + 8 + 1 + 4;
// Deflate's best ratio is a little above 1032 to 1; a page never holds more than this.
constexpr std::uint64_t kMaxDeflateRatio = 1033;
constexpr std::uint64_t kMaxPageBytes = 256u << 20;

void EncodeOp(ByteWriter& w, const TextOp& t) {
    w.F64(t.x), w.F64(t.y), w.Str(t.family), w.F64(t.sizePt);
    w.U8(static_cast<std::uint8_t>(t.align));
    w.Str(t.text);
}
void EncodeOp(ByteWriter& w, const LineOp& l) { w.F64(l.x1), w.F64(l.y1), w.F64(l.x2), w.F64(l.y2), w.F64(l.widthPt); }
void EncodeOp(ByteWriter& w, const RectOp& r) {
    w.F64(r.x), w.F64(r.y), w.F64(r.w), w.F64(r.h);
    w.F64(r.lineWidthPt), w.F64(r.fillGray), w.F64(r.cornerW), w.F64(r.cornerH);
}

TextOp DecodeText(ByteReader& r) {
    TextOp t;
    t.x = r.F64(), t.y = r.F64(), t.family = r.Str(), t.sizePt = r.F64();
    const std::uint8_t align = r.U8();
    if (align > static_cast<std::uint8_t>(TextAlign::Right)) throw Malformed("unknown text alignment");
    t.align = static_cast<TextAlign>(align);
    t.text = r.Str();
    return t;
}
LineOp DecodeLine(ByteReader& r) {
    LineOp l;
    l.x1 = r.F64(), l.y1 = r.F64(), l.x2 = r.F64(), l.y2 = r.F64(), l.widthPt = r.F64();
    return l;
}
RectOp DecodeRect(ByteReader& r) {
    RectOp o;
    o.x = r.F64(), o.y = r.F64(), o.w = r.F64(), o.h = r.F64();
    o.lineWidthPt = r.F64(), o.fillGray = r.F64(), o.cornerW = r.F64(), o.cornerH = r.F64();
    return o;
}

}  // namespace

void ByteWriter::U32(std::uint32_t v) {
    char bytes[4];
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>(v >> (8 * i));
    out_.append(bytes, sizeof bytes);
}
void ByteWriter::U64(std::uint64_t v) {
    const std::size_t at = out_.size();
    out_.resize(at + 8);
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(out_.data() + at, &v, 8);
    } else {
        for (int i = 0; i < 8; ++i) out_[at + i] = static_cast<char>(v >> (8 * i));
    }
}
void ByteWriter::F64(double v) { U64(std::bit_cast<std::uint64_t>(v)); }
void ByteWriter::Str(std::string_view s) {
    U32(static_cast<std::uint32_t>(s.size()));
    out_.append(s);
}

std::string_view ByteReader::Take(std::size_t n) {
    if (n > in_.size() - pos_) throw Malformed("data ends early");
    std::string_view part = in_.substr(pos_, n);
    pos_ += n;
    return part;
}
std::uint8_t ByteReader::U8() { return static_cast<std::uint8_t>(Take(1)[0]); }
std::uint32_t ByteReader::U32() {
    std::string_view b = Take(4);
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<std::uint8_t>(b[i]);
    return v;
}
std::uint64_t ByteReader::U64() {
    std::string_view b = Take(8);
    std::uint64_t v = 0;
    for (int i = 7; i >= 0; --i) v = (v << 8) | static_cast<std::uint8_t>(b[i]);
    return v;
}
double ByteReader::F64() {
    const double v = std::bit_cast<double>(U64());
    if (!std::isfinite(v)) throw Malformed("a number is not finite");
    return v;
}
std::string ByteReader::Str() {
    const std::uint32_t n = U32();
    return std::string(Take(n));
}

namespace {

void EncodeOps(ByteWriter& w, const std::vector<DrawOp>& ops) {
    w.U32(static_cast<std::uint32_t>(ops.size()));
    for (const DrawOp& op : ops) {
        w.U8(static_cast<std::uint8_t>(op.shape.index()));
        w.U8(op.screenOnly ? kScreenOnlyFlag : 0);
        std::visit([&w](const auto& shape) { EncodeOp(w, shape); }, op.shape);
    }
}

// Reads the operations up to the end of the data.
std::vector<DrawOp> DecodeOps(ByteReader& r) {
    std::vector<DrawOp> ops;
    const std::uint32_t count = r.U32();
    if (count > kMaxOpsPerPage || count > r.Remaining() / kMinOpBytes)
        throw Malformed("implausible number of drawing operations");
    ops.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        DrawOp op;
        const std::uint8_t kind = r.U8();
        const std::uint8_t flags = r.U8();
        if (flags & ~kScreenOnlyFlag) throw Malformed("unknown operation flags");
        op.screenOnly = flags & kScreenOnlyFlag;
        switch (kind) {
            case kText: op.shape = DecodeText(r); break;
            case kLine: op.shape = DecodeLine(r); break;
            case kRect: op.shape = DecodeRect(r); break;
            default: throw Malformed("unknown drawing operation");
        }
        ops.push_back(std::move(op));
    }
    if (!r.AtEnd()) throw Malformed("data after the last operation");
    return ops;
}

}  // namespace

std::string EncodePage(const Page& page, std::uint32_t artworkNo) {
    ByteWriter w;
    w.Bytes().reserve(24 + page.ops.size() * 64);
    w.F64(page.widthIn), w.F64(page.heightIn);
    w.U32(artworkNo);
    EncodeOps(w, page.ops);
    return std::move(w.Bytes());
}

EncodedPageRef DecodePage(std::string_view bytes, std::uint32_t formatVersion) {
    ByteReader r(bytes);
    EncodedPageRef decoded;
    decoded.page.widthIn = r.F64(), decoded.page.heightIn = r.F64();
    if (formatVersion >= kArtworkFormatVersion) decoded.artwork = r.U32();
    decoded.page.ops = DecodeOps(r);
    return decoded;
}

std::string EncodeArtwork(const Artwork& artwork) {
    ByteWriter w;
    EncodeOps(w, artwork.ops);
    return std::move(w.Bytes());
}

Artwork DecodeArtwork(std::string_view bytes) {
    ByteReader r(bytes);
    return Artwork{DecodeOps(r)};
}

void EncodeSettings(ByteWriter& w, const PrintSettings& s) {
    w.Str(s.printer), w.Str(s.paper), w.Str(s.bin);
    w.I32(StoredOrientation(s.orientation)), w.U8(s.collate ? 1 : 0), w.I32(StoredDuplex(s.duplex)), w.I32(s.copies);
}

PrintSettings DecodeSettings(ByteReader& r) {
    PrintSettings s;
    s.printer = r.Str(), s.paper = r.Str(), s.bin = r.Str();
    s.orientation = OrientationFromStored(r.I32()), s.collate = r.U8() != 0, s.duplex = DuplexFromStored(r.I32()), s.copies = r.I32();
    return s;
}

std::string Deflate(std::string_view raw) {
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::string out(size, '\0');
    const int rc = compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(raw.data()),
                             static_cast<uLong>(raw.size()), Z_BEST_SPEED);
    if (rc != Z_OK) throw std::runtime_error("The page could not be compressed");
    out.resize(size);
    return out;
}

struct Deflater::Stream {
    z_stream z{};
};

Deflater::Deflater() : stream_(std::make_unique<Stream>()) {
    if (deflateInit(&stream_->z, Z_BEST_SPEED) != Z_OK) throw std::runtime_error("The page compressor could not be started");
}

Deflater::~Deflater() { deflateEnd(&stream_->z); }

std::string Deflater::Deflate(std::string_view raw) {
    z_stream& z = stream_->z;
    if (deflateReset(&z) != Z_OK) throw std::runtime_error("The page could not be compressed");
    std::string out(deflateBound(&z, static_cast<uLong>(raw.size())), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(raw.data()));
    z.avail_in = static_cast<uInt>(raw.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    if (deflate(&z, Z_FINISH) != Z_STREAM_END) throw std::runtime_error("The page could not be compressed");
    out.resize(z.total_out);
    return out;
}

std::uint64_t MaxInflatedSize(std::uint64_t storedSize) {
    return std::min(kMaxPageBytes, storedSize * kMaxDeflateRatio + 64);
}

std::string Inflate(std::string_view stored, std::size_t rawSize) {
    if (rawSize > MaxInflatedSize(stored.size())) throw Malformed("compressed page data is damaged");
    std::string out(rawSize, '\0');
    uLongf size = static_cast<uLongf>(rawSize);
    const int rc = uncompress(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(stored.data()),
                              static_cast<uLong>(stored.size()));
    if (rc != Z_OK || size != rawSize) throw Malformed("compressed page data is damaged");
    return out;
}

std::uint32_t Crc32(std::string_view bytes) {
    return static_cast<std::uint32_t>(
        crc32(0L, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
}

}  // namespace qnvr::report::codec
