#pragma once
// A set of flags of one scoped enum whose values are single bits. The enum opts in with
// QNVR_FLAG_ENUM(E), which lets its values combine with | and ~ into a FlagSet<E>; a set
// tests true when any flag is in it, and Has names one flag.
#include <type_traits>

namespace qnvr {

template <class E>
class FlagSet {
public:
    using Bits = std::underlying_type_t<E>;

    constexpr FlagSet() = default;
    constexpr FlagSet(E flag) : bits_(static_cast<Bits>(flag)) {}  // NOLINT: a flag is a set of one

    constexpr bool Has(E flag) const { return (bits_ & static_cast<Bits>(flag)) != 0; }
    constexpr explicit operator bool() const { return bits_ != 0; }

    friend constexpr FlagSet operator|(FlagSet a, FlagSet b) { return FromBits(a.bits_ | b.bits_); }
    friend constexpr FlagSet operator&(FlagSet a, FlagSet b) { return FromBits(a.bits_ & b.bits_); }
    constexpr FlagSet operator~() const { return FromBits(static_cast<Bits>(~bits_)); }
    constexpr FlagSet& operator|=(FlagSet other) { return *this = *this | other; }
    constexpr FlagSet& operator&=(FlagSet other) { return *this = *this & other; }
    constexpr bool operator==(const FlagSet&) const = default;

    static constexpr FlagSet FromBits(Bits bits) {
        FlagSet set;
        set.bits_ = bits;
        return set;
    }

private:
    Bits bits_ = 0;
};

}  // namespace qnvr

// Lets two flags of E combine into a set, and a flag be negated into a mask.
#define QNVR_FLAG_ENUM(E)                                                                            \
    constexpr ::qnvr::FlagSet<E> operator|(E a, E b) { return ::qnvr::FlagSet<E>(a) | b; }          \
    constexpr ::qnvr::FlagSet<E> operator~(E a) { return ~::qnvr::FlagSet<E>(a); }
