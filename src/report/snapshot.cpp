// The snapshot document:
//
//   header  = "QNVRSNAP", u32 format version, u32 zero
//   record  = u32 raw size, u32 stored size, u32 CRC-32 of the stored bytes,
//             stored bytes (an encoding of snapshot_codec.cpp, zlib-compressed):
//             a page, or an artwork that pages refer to. An artwork's record comes
//             before the first page that shows it, and is written once per document.
//   trailer = u32 page count, page count x u64 page offset,
//             u32 artwork count, artwork count x u64 artwork offset, settings,
//             u32 CRC-32 of the trailer up to here
//   footer  = u64 trailer offset, "QNVR_END"
//
// Records are appended as pages are finished; the trailer and footer are written last,
// so the index of a finished document is found from its end and any page read at once.
// Format version 1 (still read) had no artworks: its trailer has no artwork count, and
// each page carried all its operations.
#include "report/snapshot.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <mutex>
#include <system_error>

#include "core/text/files.h"
#include "report/internal/file_output.h"
#include "report/report_errors.h"
#include "report/internal/snapshot_codec.h"

namespace qnvr::report {
namespace {

using codec::ByteReader;
using codec::ByteWriter;
using codec::Malformed;

constexpr std::string_view kMagic = "QNVRSNAP";
constexpr std::string_view kEndMagic = "QNVR_END";
constexpr std::uint32_t kFormatVersion = codec::kArtworkFormatVersion;
constexpr std::size_t kHeaderSize = 16;
constexpr std::size_t kFooterSize = 16;
constexpr std::size_t kRecordHeaderSize = 12;
constexpr std::size_t kCopyBlock = 1 << 20;  // 1 MiB
constexpr std::size_t kFileBlock = 1 << 20;  // what a file snapshot gathers before writing

std::string Quoted(const std::filesystem::path& p) { return "\"" + p.string() + "\""; }

// "the snapshot document "NAME"", or "the report in memory".
std::string DocumentNoun(const std::filesystem::path& file) {
    return file.empty() ? "the report in memory" : "the snapshot document " + Quoted(file);
}

// The same at the start of a sentence.
std::string DocumentName(const std::filesystem::path& file) {
    std::string name = DocumentNoun(file);
    name[0] = 'T';
    return name;
}

// Where the bytes of a finished snapshot come from.
class Source {
public:
    virtual ~Source() = default;
    virtual std::uint64_t Size() const = 0;
    // Exactly n bytes at offset; Malformed if the source is shorter.
    virtual std::string Read(std::uint64_t offset, std::size_t n) const = 0;
};

class MemorySource final : public Source {
public:
    explicit MemorySource(std::shared_ptr<const std::string> bytes) : bytes_(std::move(bytes)) {}
    std::uint64_t Size() const override { return bytes_->size(); }
    std::string Read(std::uint64_t offset, std::size_t n) const override {
        if (offset > bytes_->size() || n > bytes_->size() - offset) throw Malformed("data ends early");
        return bytes_->substr(offset, n);
    }

private:
    std::shared_ptr<const std::string> bytes_;
};

class FileSource final : public Source {
public:
    explicit FileSource(const std::filesystem::path& file) : in_(file, std::ios::binary) {
        if (!in_) {
            const int err = errno;
            throw EReportException(DocumentName(file) + " could not be opened: " + std::strerror(err ? err : ENOENT));
        }
        std::error_code ec;
        size_ = std::filesystem::file_size(file, ec);
        if (ec) throw EReportException(DocumentName(file) + " could not be opened: " + ec.message());
    }
    std::uint64_t Size() const override { return size_; }
    std::string Read(std::uint64_t offset, std::size_t n) const override {
        if (offset > size_ || n > size_ - offset) throw Malformed("data ends early");
        std::string bytes(n, '\0');
        in_.clear();
        in_.seekg(static_cast<std::streamoff>(offset));
        in_.read(bytes.data(), static_cast<std::streamsize>(n));
        if (static_cast<std::size_t>(in_.gcount()) != n) throw Malformed("data could not be read");
        return bytes;
    }

private:
    mutable std::ifstream in_;
    std::uint64_t size_ = 0;
};

// Where a writer's bytes go.
class Sink {
public:
    virtual ~Sink() = default;
    virtual void Append(std::string_view bytes) = 0;
};

class MemorySink final : public Sink {
public:
    void Append(std::string_view bytes) override { bytes_->append(bytes); }
    std::shared_ptr<std::string> bytes_ = std::make_shared<std::string>();
};

class FileSink final : public Sink {
public:
    explicit FileSink(std::filesystem::path target) : target_(std::move(target)) {
        try {
            RemoveStaleTemporaries(target_.string());
            temp_ = std::make_unique<TemporaryFileBeside>(target_.string());
        } catch (const std::system_error& e) {
            throw EReportException(CannotWriteMessage(target_, e.code().message()));
        }
    }
    // Gathered into blocks of kFileBlock: a run of thousands of small pages makes a few
    // hundred writes, not two a page.
    void Append(std::string_view bytes) override {
        if (buffer_.size() + bytes.size() > kFileBlock) Flush();
        if (bytes.size() >= kFileBlock) Write(bytes);
        else buffer_.append(bytes);
    }
    // Brings the file to the disk, closes it and puts it in place of the target.
    void Commit() {
        Flush();
        try {
            temp_->Sync();
            temp_->Close();
        } catch (const std::system_error& e) {
            Fail(e.code().value());
        }
        if (std::rename(temp_->Path().c_str(), target_.c_str()) != 0) Fail(errno);
        temp_->Keep();
    }

private:
    void Flush() {
        Write(buffer_);
        buffer_.clear();
    }
    void Write(std::string_view bytes) {
        while (!bytes.empty()) {
            const ssize_t written = ::write(temp_->Fd(), bytes.data(), bytes.size());
            if (written < 0 && errno == EINTR) continue;
            if (written <= 0) Fail(written < 0 ? errno : ENOSPC);
            bytes.remove_prefix(static_cast<std::size_t>(written));
        }
    }
    [[noreturn]] void Fail(int error) const {
        throw EReportException(CannotWriteMessage(target_, std::strerror(error ? error : EIO)));
    }
    std::filesystem::path target_;
    std::unique_ptr<TemporaryFileBeside> temp_;  // removed unless committed
    std::string buffer_;
};

std::uint64_t ReadU64At(const Source& source, std::uint64_t offset) {
    const std::string bytes = source.Read(offset, 8);  // the reader keeps a view of these bytes
    ByteReader r(bytes);
    return r.U64();
}

}  // namespace

// ---------------------------------------------------------------------------
// PageSnapshot

struct PageSnapshot::Impl {
    std::unique_ptr<Source> source;
    std::filesystem::path file;
    std::uint32_t version = 0;
    std::vector<std::uint64_t> pageOffsets;
    std::vector<std::uint64_t> artworkOffsets;
    std::map<std::uint64_t, std::uint64_t> recordEnds;  // by record offset: where the next record or the trailer starts
    PrintSettings settings;
    // Artworks read so far, by number (from 1); pages share them.
    mutable std::mutex artworksLock;
    mutable std::vector<std::shared_ptr<const Artwork>> artworks;

    [[noreturn]] void Damaged() const {
        throw EReportException(DocumentName(file) + " is damaged and cannot be opened.");
    }

    // count x u64 offsets, each at least a record header inside the records.
    std::vector<std::uint64_t> ReadOffsets(ByteReader& r, std::uint64_t trailerOffset) const {
        const std::uint32_t count = r.U32();
        if (count > r.Remaining() / 8) Damaged();
        std::vector<std::uint64_t> offsets;
        offsets.reserve(count);
        std::uint64_t previous = kHeaderSize;
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint64_t offset = r.U64();
            if (offset < previous || offset > trailerOffset || trailerOffset - offset < kRecordHeaderSize) Damaged();
            offsets.push_back(offset);
            previous = offset + kRecordHeaderSize;
        }
        return offsets;
    }

    void ReadIndex() {
        const std::uint64_t size = source->Size();
        if (size < kHeaderSize || source->Read(0, kMagic.size()) != kMagic) {
            throw EReportException(DocumentName(file) + " is not a snapshot document of this program.");
        }
        const std::string versionBytes = source->Read(kMagic.size(), 4);
        ByteReader header(versionBytes);
        version = header.U32();
        if (version > kFormatVersion) {
            throw EReportException(DocumentName(file) + " was written by a newer version of the program and cannot be opened.");
        }
        if (version < codec::kFirstFormatVersion) Damaged();
        if (size < kHeaderSize + kFooterSize || source->Read(size - kEndMagic.size(), kEndMagic.size()) != kEndMagic) {
            Damaged();
        }
        const std::uint64_t trailerOffset = ReadU64At(*source, size - kFooterSize);
        if (trailerOffset < kHeaderSize || trailerOffset > size - kFooterSize - 4) Damaged();
        const std::string trailer = source->Read(trailerOffset, size - kFooterSize - trailerOffset);
        const std::string_view body(trailer.data(), trailer.size() - 4);
        ByteReader crcReader(std::string_view(trailer).substr(trailer.size() - 4));
        if (codec::Crc32(body) != crcReader.U32()) Damaged();

        ByteReader r(body);
        pageOffsets = ReadOffsets(r, trailerOffset);
        if (pageOffsets.empty()) Damaged();
        if (version >= codec::kArtworkFormatVersion) artworkOffsets = ReadOffsets(r, trailerOffset);
        settings = codec::DecodeSettings(r);
        if (!r.AtEnd()) Damaged();

        // Each record runs up to the next one (of either kind) or the trailer; no two
        // records start at the same place.
        for (std::uint64_t offset : pageOffsets) recordEnds[offset] = 0;
        for (std::uint64_t offset : artworkOffsets) {
            if (!recordEnds.emplace(offset, 0).second) Damaged();
        }
        for (auto it = recordEnds.begin(); it != recordEnds.end(); ++it) {
            const auto next = std::next(it);
            it->second = next == recordEnds.end() ? trailerOffset : next->first;
            if (it->second - it->first < kRecordHeaderSize) Damaged();
        }
        artworks.resize(artworkOffsets.size());
    }

    // The decompressed bytes of the record at start, checked against its checksum.
    std::string ReadRecord(std::uint64_t start) const {
        const std::uint64_t end = recordEnds.at(start);
        const std::string headBytes = source->Read(start, kRecordHeaderSize);
        ByteReader head(headBytes);
        const std::uint32_t rawSize = head.U32();
        const std::uint32_t storedSize = head.U32();
        const std::uint32_t crc = head.U32();
        if (storedSize != end - start - kRecordHeaderSize) throw Malformed("record size does not match the index");
        // The raw size is not covered by the checksum: it is bounded before anything of
        // that size is allocated.
        if (rawSize > codec::MaxInflatedSize(storedSize)) throw Malformed("record size is implausible");
        const std::string stored = source->Read(start + kRecordHeaderSize, storedSize);
        if (codec::Crc32(stored) != crc) throw Malformed("record checksum does not match");
        return codec::Inflate(stored, rawSize);
    }

    std::shared_ptr<const Artwork> ArtworkNo(std::uint32_t artworkNo) const {
        if (artworkNo < 1 || artworkNo > artworkOffsets.size()) throw Malformed("page names an unknown artwork");
        std::lock_guard<std::mutex> lock(artworksLock);
        std::shared_ptr<const Artwork>& artwork = artworks[artworkNo - 1];
        if (!artwork) artwork = std::make_shared<const Artwork>(codec::DecodeArtwork(ReadRecord(artworkOffsets[artworkNo - 1])));
        return artwork;
    }

    Page Read(int pageNo) const {
        codec::EncodedPageRef decoded = codec::DecodePage(ReadRecord(pageOffsets[pageNo - 1]), version);
        if (decoded.artwork != 0) decoded.page.artwork = ArtworkNo(decoded.artwork);
        return std::move(decoded.page);
    }
};

PageSnapshot::PageSnapshot(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {
    try {
        impl_->ReadIndex();
    } catch (const Malformed&) {
        impl_->Damaged();
    }
}
PageSnapshot::PageSnapshot(PageSnapshot&&) noexcept = default;
PageSnapshot& PageSnapshot::operator=(PageSnapshot&&) noexcept = default;
PageSnapshot::~PageSnapshot() = default;

PageSnapshot PageSnapshot::OpenFile(const std::filesystem::path& file) {
    auto impl = std::make_unique<Impl>();
    impl->file = file;
    impl->source = std::make_unique<FileSource>(file);
    return PageSnapshot(std::move(impl));
}

PageSnapshot PageSnapshot::FromBytes(std::shared_ptr<const std::string> bytes) {
    auto impl = std::make_unique<Impl>();
    impl->source = std::make_unique<MemorySource>(std::move(bytes));
    return PageSnapshot(std::move(impl));
}

int PageSnapshot::PageCount() const { return static_cast<int>(impl_->pageOffsets.size()); }
const PrintSettings& PageSnapshot::Settings() const { return impl_->settings; }
const std::filesystem::path& PageSnapshot::FileName() const { return impl_->file; }

Page PageSnapshot::ReadPage(int pageNo) const {
    if (pageNo < 1 || pageNo > PageCount()) {
        throw EReportException(DocumentName(impl_->file) + " has no page " + std::to_string(pageNo) + ".");
    }
    try {
        return impl_->Read(pageNo);
    } catch (const Malformed&) {
        throw EReportException("Page " + std::to_string(pageNo) + " of " + DocumentNoun(impl_->file) +
                               " is damaged and cannot be shown.");
    }
}

void PageSnapshot::SaveAs(const std::filesystem::path& file) const {
    WriteFileReplacing(file, [this, &file](const std::filesystem::path& temp) {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        const std::uint64_t size = impl_->source->Size();
        for (std::uint64_t offset = 0; offset < size && out; offset += kCopyBlock) {
            const std::string block = impl_->source->Read(offset, std::min<std::uint64_t>(kCopyBlock, size - offset));
            out.write(block.data(), static_cast<std::streamsize>(block.size()));
        }
        out.close();
        if (!out) throw EReportException(CannotWriteMessage(file, std::strerror(errno ? errno : EIO)));
    });
}

// ---------------------------------------------------------------------------
// SnapshotWriter

struct SnapshotWriter::Impl {
    std::unique_ptr<Sink> sink;
    FileSink* fileSink = nullptr;      // the sink, when it is a file
    MemorySink* memorySink = nullptr;  // the sink, when it is memory
    std::filesystem::path file;
    std::uint64_t written = 0;
    codec::Deflater deflater;
    std::vector<std::uint64_t> offsets;          // of each page
    std::vector<std::uint64_t> artworkOffsets;   // of each artwork
    // The artworks written, by address, with their numbers (from 1); each is kept alive
    // so that its address stays its own.
    std::map<const Artwork*, std::pair<std::shared_ptr<const Artwork>, std::uint32_t>> artworkNumbers;
    bool finished = false;

    // Writes one record: sizes, checksum and the compressed bytes.
    void AppendRecord(const std::string& raw) {
        const std::string stored = deflater.Deflate(raw);
        ByteWriter head;
        head.U32(static_cast<std::uint32_t>(raw.size()));
        head.U32(static_cast<std::uint32_t>(stored.size()));
        head.U32(codec::Crc32(stored));
        Append(head.Bytes());
        Append(stored);
    }

    // The number of the page's artwork, written first when it is new to the document.
    std::uint32_t ArtworkNumber(const std::shared_ptr<const Artwork>& artwork) {
        if (!artwork) return 0;
        auto [it, isNew] = artworkNumbers.try_emplace(artwork.get());
        if (isNew) {
            artworkOffsets.push_back(written);
            it->second = {artwork, static_cast<std::uint32_t>(artworkOffsets.size())};
            AppendRecord(codec::EncodeArtwork(*artwork));
        }
        return it->second.second;
    }

    void Append(std::string_view bytes) {
        sink->Append(bytes);
        written += bytes.size();
    }
    void WriteHeader() {
        ByteWriter w;
        w.Bytes().append(kMagic);
        w.U32(kFormatVersion);
        w.U32(0);
        Append(w.Bytes());
    }
};

SnapshotWriter::SnapshotWriter(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) { impl_->WriteHeader(); }
SnapshotWriter::SnapshotWriter(SnapshotWriter&&) noexcept = default;
SnapshotWriter& SnapshotWriter::operator=(SnapshotWriter&&) noexcept = default;
SnapshotWriter::~SnapshotWriter() = default;

SnapshotWriter SnapshotWriter::ToFile(const std::filesystem::path& file) {
    auto impl = std::make_unique<Impl>();
    auto sink = std::make_unique<FileSink>(file);
    impl->fileSink = sink.get();
    impl->sink = std::move(sink);
    impl->file = file;
    return SnapshotWriter(std::move(impl));
}

SnapshotWriter SnapshotWriter::ToMemory() {
    auto impl = std::make_unique<Impl>();
    auto sink = std::make_unique<MemorySink>();
    impl->memorySink = sink.get();
    impl->sink = std::move(sink);
    return SnapshotWriter(std::move(impl));
}

void SnapshotWriter::AddPage(const Page& page) {
    if (impl_->finished) throw std::logic_error("SnapshotWriter::AddPage after Finish");
    const std::uint32_t artworkNo = impl_->ArtworkNumber(page.artwork);
    impl_->offsets.push_back(impl_->written);
    impl_->AppendRecord(codec::EncodePage(page, artworkNo));
}

int SnapshotWriter::PageCount() const { return static_cast<int>(impl_->offsets.size()); }

void SnapshotWriter::Finish(const PrintSettings& settings) {
    if (impl_->finished) throw std::logic_error("SnapshotWriter::Finish twice");
    if (impl_->offsets.empty()) throw std::logic_error("SnapshotWriter::Finish without pages");
    const std::uint64_t trailerOffset = impl_->written;
    ByteWriter trailer;
    trailer.U32(static_cast<std::uint32_t>(impl_->offsets.size()));
    for (std::uint64_t offset : impl_->offsets) trailer.U64(offset);
    trailer.U32(static_cast<std::uint32_t>(impl_->artworkOffsets.size()));
    for (std::uint64_t offset : impl_->artworkOffsets) trailer.U64(offset);
    codec::EncodeSettings(trailer, settings);
    trailer.U32(codec::Crc32(trailer.Bytes()));
    trailer.U64(trailerOffset);
    trailer.Bytes().append(kEndMagic);
    impl_->Append(trailer.Bytes());
    if (impl_->fileSink) impl_->fileSink->Commit();
    impl_->finished = true;
}

PageSnapshot SnapshotWriter::Open() const {
    if (!impl_->finished) throw std::logic_error("SnapshotWriter::Open before Finish");
    return impl_->memorySink ? PageSnapshot::FromBytes(impl_->memorySink->bytes_) : PageSnapshot::OpenFile(impl_->file);
}

std::shared_ptr<const std::string> SnapshotWriter::Bytes() const {
    if (!impl_->finished || !impl_->memorySink) throw std::logic_error("SnapshotWriter::Bytes of an unfinished or file snapshot");
    return impl_->memorySink->bytes_;
}

void WriteSnapshotFile(const std::filesystem::path& file, const std::vector<Page>& pages, const PrintSettings& settings) {
    SnapshotWriter writer = SnapshotWriter::ToFile(file);
    for (const Page& page : pages) writer.AddPage(page);
    writer.Finish(settings);
}

}  // namespace qnvr::report
