#pragma once
// What the fuzz targets share: a prompter that answers every message with its default
// button, and fixed-size records cut from the input.
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "core/base/prompter.h"

namespace qnvr::fuzz {

class QuietPrompter final : public Prompter {
public:
    MsgButton Show(const std::string&, const std::string&, MsgStyle style) override {
        return DefaultButton(style);
    }
};

// size bytes from the input at offset, zero-filled where the input ends.
inline std::vector<std::uint8_t> RecordBytes(const std::uint8_t* data, std::size_t length, std::size_t offset,
                                             std::size_t size) {
    std::vector<std::uint8_t> bytes(size, 0);
    if (offset < length) std::memcpy(bytes.data(), data + offset, std::min(size, length - offset));
    return bytes;
}

}  // namespace qnvr::fuzz
