// The snapshot document: what is saved reopens identically; damage is refused.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "core/support/temp_dir.h"
#include "report/report_errors.h"
#include "support/report_test_support.h"

namespace qnvr::report {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
constexpr bool kAddressSanitizer = __has_feature(address_sanitizer);
#else
constexpr bool kAddressSanitizer = false;
#endif

using qnvr::testing::ReadBytes;
using qnvr::testing::TempDir;
using qnvr::testing::WriteBytes;

std::vector<Page> SamplePages() {
    Page first;
    first.ops.push_back({TextOp{6.3, 1.83, "Outline", 30, TextAlign::Center, "******* VOID *******"}, false});
    first.ops.push_back({TextOp{0.5, 5.13, "Arial", 5.5, TextAlign::Right, "Copy D \xE2\x80\x94 For Employer & <you>"}, false});
    first.ops.push_back({LineOp{0.5, 4.375, 8.0, 4.375, 0.3}, false});
    first.ops.push_back({RectOp{0.188, 0.5, 2.625, 1.0, 0.5, 1.0, 0.2, 0.2}, true});
    first.ops.push_back({RectOp{4.58, 2.167, 1.77, 0.166, 0, 0.85, 0, 0}, false});
    Page second;
    second.widthIn = 14;
    second.heightIn = 8.5;
    Page third;  // an empty page in the middle stays
    third.ops.push_back({TextOp{1, 1, "Arial", 10, TextAlign::Left, "last"}, false});
    return {first, second, third};
}

const PrintSettings kSettings{"PDF", "Letter", "Tray 1", PageOrientation::Landscape, true, DuplexMode::dupVertical, 7};

void ExpectSamplePages(const PageSnapshot& snapshot) {
    const std::vector<Page> pages = SamplePages();
    ASSERT_EQ(snapshot.PageCount(), static_cast<int>(pages.size()));
    for (int i = 0; i < snapshot.PageCount(); ++i) EXPECT_EQ(snapshot.ReadPage(i + 1), pages[i]) << "page " << i + 1;
    EXPECT_EQ(snapshot.Settings(), kSettings);
}

TEST(PageSnapshot, FileAndMemorySnapshotsReadBackEveryOperationExactly) {
    TempDir dir;
    WriteSnapshotFile(dir.Path() / "QNVR.RPT", SamplePages(), kSettings);
    ExpectSamplePages(PageSnapshot::OpenFile(dir.Path() / "QNVR.RPT"));

    SnapshotWriter memory = SnapshotWriter::ToMemory();
    for (const Page& page : SamplePages()) memory.AddPage(page);
    memory.Finish(kSettings);
    ExpectSamplePages(memory.Open());
}

TEST(PageSnapshot, SavedDocumentIsTheSnapshotUnchangedAndReopensIdentically) {
    TempDir dir;
    SnapshotWriter memory = SnapshotWriter::ToMemory();
    for (const Page& page : SamplePages()) memory.AddPage(page);
    memory.Finish(kSettings);
    memory.Open().SaveAs(dir.Path() / "saved.ndr");

    const std::vector<unsigned char> saved = ReadBytes(dir.File("saved.ndr"));
    EXPECT_EQ(std::string(saved.begin(), saved.end()), *memory.Bytes());
    const PageSnapshot reopened = PageSnapshot::OpenFile(dir.Path() / "saved.ndr");
    ExpectSamplePages(reopened);
    reopened.SaveAs(dir.Path() / "again.ndr");  // and a reopened document saves the same bytes
    EXPECT_EQ(ReadBytes(dir.File("again.ndr")), saved);
}

// Every kind of damage is refused with a message naming the file, never a crash or a
// page quietly drawn from garbage.
TEST(PageSnapshot, DamagedForeignOrNewerDocumentsAreRefusedWithAClearMessage) {
    TempDir dir;
    const std::string good = dir.File("good.ndr");
    WriteSnapshotFile(good, SamplePages(), kSettings);
    const std::vector<unsigned char> bytes = ReadBytes(good);

    struct Case {
        const char* name;
        std::function<void(std::vector<unsigned char>&)> damage;
        const char* message;  // part of the message
    };
    const Case cases[] = {
        {"truncated", [](auto& b) { b.resize(b.size() - 5); }, "is damaged"},
        {"cut in half", [](auto& b) { b.resize(b.size() / 2); }, "is damaged"},
        {"trailer changed", [](auto& b) { b[b.size() - 30] ^= 0x40; }, "is damaged"},
        {"foreign", [](auto& b) { b = {'%', 'P', 'D', 'F', '-', '1', '.', '4', '\n', 0, 0, 0, 0, 0, 0, 0, 0, 0}; }, "is not a snapshot document"},
        {"empty", [](auto& b) { b.clear(); }, "is not a snapshot document"},
        {"newer", [](auto& b) { b[8] = 3; }, "newer version"},
    };
    for (const Case& c : cases) {
        std::vector<unsigned char> damaged = bytes;
        c.damage(damaged);
        const std::string file = dir.File(std::string(c.name) + ".ndr");
        WriteBytes(file, damaged);
        try {
            PageSnapshot::OpenFile(file);
            ADD_FAILURE() << c.name << " was opened";
        } catch (const report::EReportException& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << c.name << ": " << e.what();
            EXPECT_NE(std::string(e.what()).find(file), std::string::npos) << c.name << ": " << e.what();
        }
    }
    EXPECT_THROW(PageSnapshot::OpenFile(dir.File("missing.ndr")), EReportException);
}

TEST(PageSnapshot, ADamagedPageIsRefusedWhenShownWhileTheOthersStillRead) {
    TempDir dir;
    const std::string file = dir.File("page.ndr");
    WriteSnapshotFile(file, SamplePages(), kSettings);
    std::vector<unsigned char> bytes = ReadBytes(file);
    bytes[16 + 12 + 3] ^= 0xFF;  // inside the first page's compressed data
    WriteBytes(file, bytes);

    const PageSnapshot snapshot = PageSnapshot::OpenFile(file);
    EXPECT_EQ(snapshot.PageCount(), 3);
    try {
        snapshot.ReadPage(1);
        ADD_FAILURE() << "damaged page read";
    } catch (const EReportException& e) {
        EXPECT_NE(std::string(e.what()).find("Page 1 of the snapshot document"), std::string::npos) << e.what();
    }
    EXPECT_EQ(snapshot.ReadPage(3), SamplePages()[2]);
    EXPECT_THROW(snapshot.ReadPage(4), EReportException);
}

// A page's raw size is outside its checksum. A damaged one is refused before anything of
// that size is allocated: the page is read in a child process that may not take more
// than 512 MB, where allocating the 4 GB the field claims would end in bad_alloc.
TEST(PageSnapshot, ADamagedRawSizeIsRefusedWithoutAllocatingIt) {
    TempDir dir;
    const std::string file = dir.File("raw.ndr");
    WriteSnapshotFile(file, SamplePages(), kSettings);
    std::vector<unsigned char> bytes = ReadBytes(file);
    for (int k = 0; k < 4; ++k) bytes[16 + k] = 0xFF;  // the first page's raw size
    WriteBytes(file, bytes);

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The address sanitizer reserves far more address space than that for itself.
        if (!kAddressSanitizer) {
            const rlimit limit{512u << 20, 512u << 20};
            ::setrlimit(RLIMIT_AS, &limit);
        }
        int status = 1;
        try {
            PageSnapshot::OpenFile(file).ReadPage(1);
        } catch (const EReportException& e) {
            if (std::string(e.what()).find("Page 1 of the snapshot document") != std::string::npos) status = 0;
        } catch (...) {
            status = 2;
        }
        ::_exit(status);
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status;
}

// A form's artwork: enough distinct operations that storing it per page would show.
std::shared_ptr<const Artwork> FormArtwork(const std::string& caption) {
    auto artwork = std::make_shared<Artwork>();
    for (int i = 0; i < 100; ++i) {
        const double y = 0.5 + i * 0.1;
        artwork->ops.push_back({RectOp{0.25, y, 8, 0.1, 0.5, -1, 0, 0}, false});
        artwork->ops.push_back({TextOp{0.3, y + 0.07, "Arial", 6, TextAlign::Left, caption + " " + std::to_string(i)}, false});
    }
    return artwork;
}

// The pages of a print run: 40 showing one form, one showing another, one with none,
// and the first form again; each with its own values.
std::vector<Page> FormPages() {
    const auto w2 = FormArtwork("Wages, tips, other compensation");
    const auto w3 = FormArtwork("Kind of Payer");
    std::vector<Page> pages;
    for (int k = 0; k < 40; ++k) {
        Page page;
        page.artwork = w2;
        page.ops.push_back({TextOp{7.5, 1.2, "Arial", 10, TextAlign::Right, std::to_string(50000 + k) + ".00"}, false});
        pages.push_back(page);
    }
    Page other;
    other.artwork = w3;
    other.ops.push_back({TextOp{1, 1, "Arial", 10, TextAlign::Left, "TOTALS"}, false});
    pages.push_back(other);
    Page plain;
    plain.ops.push_back({LineOp{0.5, 4, 8, 4, 1}, false});
    pages.push_back(plain);
    Page shortest;  // a form's page with one short value: fewer bytes than a line takes
    shortest.artwork = w2;
    shortest.ops.push_back({TextOp{1, 1, "Arial", 10, TextAlign::Left, "X"}, false});
    pages.push_back(shortest);
    return pages;
}

TEST(PageSnapshot, EachArtworkIsStoredOnceAndItsPagesShareIt) {
    TempDir dir;
    const std::vector<Page> pages = FormPages();
    WriteSnapshotFile(dir.File("forms.ndr"), pages, kSettings);
    WriteSnapshotFile(dir.File("one.ndr"), {pages[0]}, kSettings);

    const PageSnapshot snapshot = PageSnapshot::OpenFile(dir.File("forms.ndr"));
    ASSERT_EQ(snapshot.PageCount(), 43);
    for (int i = 0; i < snapshot.PageCount(); ++i) EXPECT_EQ(snapshot.ReadPage(i + 1), pages[i]) << "page " << i + 1;
    // Read back, the pages of one form share one artwork object; the others do not.
    EXPECT_EQ(snapshot.ReadPage(1).artwork.get(), snapshot.ReadPage(40).artwork.get());
    EXPECT_NE(snapshot.ReadPage(1).artwork.get(), snapshot.ReadPage(41).artwork.get());
    EXPECT_EQ(snapshot.ReadPage(42).artwork, nullptr);
    EXPECT_EQ(snapshot.ReadPage(43).artwork.get(), snapshot.ReadPage(1).artwork.get());
    // 43 pages of two forms take little more than twice one page of one form.
    EXPECT_LT(std::filesystem::file_size(dir.File("forms.ndr")), 2 * std::filesystem::file_size(dir.File("one.ndr")) + 43 * 100);
}

TEST(PageSnapshot, ADamagedArtworkRefusesThePagesShowingItOnly) {
    TempDir dir;
    const std::string file = dir.File("art.ndr");
    const std::vector<Page> pages = FormPages();
    WriteSnapshotFile(file, pages, kSettings);
    std::vector<unsigned char> bytes = ReadBytes(file);
    bytes[16 + 12 + 3] ^= 0xFF;  // the first record is the first page's artwork
    WriteBytes(file, bytes);

    const PageSnapshot snapshot = PageSnapshot::OpenFile(file);
    for (int pageNo : {1, 40, 43}) {
        try {
            snapshot.ReadPage(pageNo);
            ADD_FAILURE() << "page " << pageNo << " read with a damaged artwork";
        } catch (const EReportException& e) {
            EXPECT_NE(std::string(e.what()).find("Page " + std::to_string(pageNo) + " of the snapshot document"),
                      std::string::npos) << e.what();
        }
    }
    EXPECT_EQ(snapshot.ReadPage(41), pages[40]);
    EXPECT_EQ(snapshot.ReadPage(42), pages[41]);
}

// A snapshot document of the first format (every page carrying all its operations),
// as the program wrote it before artworks were stored on their own: one page of a
// small design with a box, a shaded bar, a rule, a caption and two values.
TEST(PageSnapshot, DocumentsOfTheFirstFormatStillOpen) {
    TempDir dir;
    const std::filesystem::path old = std::filesystem::path(QNVR_REPORT_TEST_DATA) / "snapshot_v1.ndr";
    const PageSnapshot snapshot = PageSnapshot::OpenFile(old);
    ASSERT_EQ(snapshot.PageCount(), 1);
    const Page page = snapshot.ReadPage(1);
    EXPECT_EQ(page.artwork, nullptr);
    const std::vector<DrawOp> expected = {
        {RectOp{0.5, 0.5, 3, 1, 0.5, -1, 0, 0}, false},
        {RectOp{0.5, 1.6, 3, 0.2, 0, 0.85, 0, 0}, false},
        {LineOp{0.5, 2, 3.5, 2, 1}, false},
        {TextOp{0.6, 0.65, "Arial", 6, TextAlign::Left, "Caption"}, false},
        {TextOp{0.6, 1.2, "Arial", 10, TextAlign::Left, "A & B <old>"}, false},
        {TextOp{3.4, 1.2, "Arial", 10, TextAlign::Right, "1234.56"}, false},
    };
    EXPECT_EQ(page.ops, expected);
    EXPECT_DOUBLE_EQ(page.widthIn, 8.5);
    EXPECT_DOUBLE_EQ(page.heightIn, 11);
    // Saved again, it is the same document, unchanged.
    snapshot.SaveAs(dir.Path() / "copy.ndr");
    EXPECT_EQ(ReadBytes(dir.File("copy.ndr")), ReadBytes(old.string()));
}

TEST(SnapshotWriter, AnUnfinishedFileSnapshotLeavesThePreviousOneInPlace) {
    TempDir dir;
    const auto file = dir.Path() / "QNVR.RPT";
    WriteSnapshotFile(file, SamplePages(), kSettings);
    {
        SnapshotWriter abandoned = SnapshotWriter::ToFile(file);
        abandoned.AddPage(Page{});
    }  // a cancelled run
    ExpectSamplePages(PageSnapshot::OpenFile(file));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

}  // namespace
}  // namespace qnvr::report
