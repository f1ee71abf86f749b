#include "core/game_random.h"

namespace meldora {

namespace {

constexpr std::size_t ShiftSize = 397;
constexpr std::uint32_t TwistMatrix = 0x9908b0dfu;
constexpr std::uint32_t UpperBit = 0x80000000u;
constexpr std::uint32_t LowerBits = 0x7fffffffu;

// One word of the twist: the upper bit of one word joined to the lower bits of
// the next, shifted, and mixed with the word ShiftSize places on.
inline std::uint32_t Twisted(std::uint32_t word, std::uint32_t nextWord, std::uint32_t farWord)
{
    const std::uint32_t joined = (word & UpperBit) | (nextWord & LowerBits);
    return farWord ^ (joined >> 1) ^ ((0u - (joined & 1u)) & TwistMatrix);
}

inline std::uint32_t Tempered(std::uint32_t z)
{
    z ^= z >> 11;
    z ^= (z << 7) & 0x9d2c5680u;
    z ^= (z << 15) & 0xefc60000u;
    z ^= z >> 18;
    return z;
}

}  // namespace

void GameRandom::seed(result_type value)
{
    std::uint32_t word = static_cast<std::uint32_t>(value);
    state_[0] = word;
    // Each word follows from the one before: unrolled, the loop's own count
    // and jump are paid once for several words.
#pragma GCC unroll 8
    for (std::size_t i = 1; i < StateSize; ++i) {
        word = 1812433253u * (word ^ (word >> 30)) + static_cast<std::uint32_t>(i);
        state_[i] = word;
    }
    next_ = StateSize;
}

// Twisting a block is the generator's whole cost and runs over plain arrays: on
// a processor with the wider vector unit it is compiled a second time to use it,
// chosen once as the program loads. The numbers are the same either way.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
__attribute__((target_clones("avx2", "default")))
#endif
void GameRandom::Refill()
{
    auto& x = state_;
    // The first words mix with words not yet twisted, the later ones with words
    // twisted earlier in this block: two loops, each free of a dependence
    // between neighbouring words. Each word is tempered as soon as it is twisted.
    for (std::size_t i = 0; i < StateSize - ShiftSize; ++i) {
        x[i] = Twisted(x[i], x[i + 1], x[i + ShiftSize]);
        drawn_[i] = Tempered(x[i]);
    }
    for (std::size_t i = StateSize - ShiftSize; i < StateSize - 1; ++i) {
        x[i] = Twisted(x[i], x[i + 1], x[i + ShiftSize - StateSize]);
        drawn_[i] = Tempered(x[i]);
    }
    x[StateSize - 1] = Twisted(x[StateSize - 1], x[0], x[ShiftSize - 1]);
    drawn_[StateSize - 1] = Tempered(x[StateSize - 1]);
    next_ = 0;
}

}  // namespace meldora
