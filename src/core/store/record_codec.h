#pragma once
// Reading and writing a fixed record by its layout table (records.h): text as a length
// byte and Windows-1252 characters cut to the field's width, amounts and counts
// little-endian as in memory, flags as one byte. The payer file records and the EFW2
// settings record share it.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

#include "core/store/records.h"

namespace qnvr {

// A text field on disk: a length byte, then the characters. A damaged length byte larger
// than the field is taken as the field's width, so a read never leaves the field.
std::string ReadStoredText(const std::uint8_t* at, int chars);
// Writes the length byte and the characters, cut to chars; bytes after them are untouched.
void WriteStoredText(std::uint8_t* at, int chars, const std::string& text);

// ReadStoredText into text, whose storage is reused where it can be.
void ReadStoredTextInto(std::string& text, const std::uint8_t* at, int chars);

// One field of a record from its bytes at `at` (chars: the characters of a text).
template <class T>
void DecodeStoredField(const std::uint8_t* at, int chars, T& value) {
    if constexpr (std::is_same_v<T, std::string>)
        ReadStoredTextInto(value, at, chars);
    else if constexpr (std::is_same_v<T, bool>)
        value = at[0] != 0;
    else
        std::memcpy(&value, at, sizeof(T));  // little-endian, as on disk
}

// Every field of record replaced by its value in bytes; a record reused for the next
// record read keeps the storage of its texts.
template <class Record>
void DecodeRecordInto(const std::vector<FieldLayout<Record>>& layout, std::span<const std::uint8_t> bytes,
                      Record& record) {
    for (const auto& field : layout) {
        const std::uint8_t* at = bytes.data() + field.offset;
        std::visit([&](auto* value) { DecodeStoredField(at, field.chars, *value); }, field.Of(record));
    }
}

template <class Record>
Record DecodeRecord(const std::vector<FieldLayout<Record>>& layout, std::span<const std::uint8_t> bytes) {
    Record record;
    DecodeRecordInto(layout, bytes, record);
    return record;
}

// Starts from zero bytes, so padding and the bytes after a text's length stay zero.
template <class Record>
void EncodeRecord(const std::vector<FieldLayout<Record>>& layout, const Record& record, std::span<std::uint8_t> bytes) {
    std::fill(bytes.begin(), bytes.end(), 0);
    auto& source = const_cast<Record&>(record);  // the accessors only read here
    for (const auto& field : layout) {
        std::uint8_t* at = bytes.data() + field.offset;
        std::visit(
            [&](auto* value) {
                using T = std::remove_pointer_t<decltype(value)>;
                if constexpr (std::is_same_v<T, std::string>)
                    WriteStoredText(at, field.chars, *value);
                else if constexpr (std::is_same_v<T, bool>)
                    at[0] = *value ? 1 : 0;
                else
                    std::memcpy(at, value, sizeof(T));
            },
            field.Of(source));
    }
}

}  // namespace qnvr
