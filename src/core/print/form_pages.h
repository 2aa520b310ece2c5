#pragma once
// How the printed W-2s share their pages: Copy A two to a page (upper form slot 1,
// lower slot 2), the employer's and state copies four to a page in a two-by-two grid,
// with the empty forms of the last page marked void.
#include <string>
#include <vector>

namespace qnvr {

inline constexpr int kCopyAFormsPerPage = 2;
inline constexpr int kFourUpFormsPerPage = 4;

// The slot (1-based) of the k-th form (0-based) on a page of perPage forms.
inline int SlotOf(int k, int perPage) { return k % perPage + 1; }

// The four-up copies' void mark: the text drawn on every empty form of the last page.
inline constexpr const char* kVoidMarkText = "******* VOID *******";
inline constexpr const char* kVoidMarkFont = "Outline";
inline constexpr double kVoidMarkSizePt = 30;
inline constexpr double kVoidMarkCursorX = 0.5;

struct VoidMark {
    int slot;
    double centreX;    // inches from the sheet's left edge
    double baselineY;  // inches from the sheet's top edge
    bool operator==(const VoidMark&) const = default;
};

// The void marks of a last page that holds filledSlots forms (1 to 4): one on every
// later slot, in slot order.
std::vector<VoidMark> FourUpVoidMarks(int filledSlots);

// The copy caption of the employer's and state copies.
inline constexpr const char* kCopyDCaption = "Copy D \xE2\x80\x94 For Employer";
inline constexpr const char* kCopy1Caption = "Copy 1 \xE2\x80\x94 For State, City, or Local Tax Department";

}  // namespace qnvr
