#pragma once
// The page snapshot: the recorded pages of one job run, and the snapshot document
// (".ndr", and the job file "QNVR.RPT") that holds them.
//
// Pages are written one at a time as they are finished and read back one at a time,
// so a run of thousands of pages never holds more than one page in memory. The same
// encoding serves memory snapshots and files; its layout is described in
// snapshot_codec.cpp. A damaged or foreign document is refused with EReportException.
#include <filesystem>
#include <memory>
#include <string>

#include "report/page.h"

namespace qnvr::report {

// Reads a finished snapshot: page count, printer settings and any page on demand.
class PageSnapshot {
public:
    // Opens a snapshot document; throws EReportException naming the file when it is
    // missing, unreadable, damaged, foreign or written by a newer program.
    static PageSnapshot OpenFile(const std::filesystem::path& file);
    // A snapshot kept in memory (a memory-mode job's stream).
    static PageSnapshot FromBytes(std::shared_ptr<const std::string> bytes);

    PageSnapshot(PageSnapshot&&) noexcept;
    PageSnapshot& operator=(PageSnapshot&&) noexcept;
    ~PageSnapshot();

    int PageCount() const;
    const PrintSettings& Settings() const;
    // Page pageNo, counted from 1. Throws EReportException when the page's data is
    // damaged (checked on every read) or pageNo is out of range.
    Page ReadPage(int pageNo) const;

    // Writes the whole document, unchanged, to file (beside it, then renamed over it),
    // copying in blocks of 1 MiB.
    void SaveAs(const std::filesystem::path& file) const;

    // The file it was read from; empty for a memory snapshot.
    const std::filesystem::path& FileName() const;

private:
    struct Impl;
    explicit PageSnapshot(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

// Records pages into a snapshot, in memory or straight into a file.
class SnapshotWriter {
public:
    // A file snapshot: the file is created (replacing any old one) at once.
    static SnapshotWriter ToFile(const std::filesystem::path& file);
    static SnapshotWriter ToMemory();

    SnapshotWriter(SnapshotWriter&&) noexcept;
    SnapshotWriter& operator=(SnapshotWriter&&) noexcept;
    ~SnapshotWriter();

    void AddPage(const Page& page);
    int PageCount() const;

    // Writes the page index and the printer settings; nothing can be added afterwards.
    void Finish(const PrintSettings& settings);

    // After Finish: a reader over what was written.
    PageSnapshot Open() const;
    // After Finish of a memory snapshot: its bytes (a snapshot document as a file holds it).
    std::shared_ptr<const std::string> Bytes() const;

private:
    struct Impl;
    explicit SnapshotWriter(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

// Writes a snapshot of the given pages to file in one go (tests, tools).
void WriteSnapshotFile(const std::filesystem::path& file, const std::vector<Page>& pages,
                       const PrintSettings& settings = {});

}  // namespace qnvr::report
