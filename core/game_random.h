// The game's random generator: the 32-bit Mersenne Twister (the numbers
// std::mt19937 gives for the same seed), made for a program that seeds it at
// every deal and draws some six hundred numbers a deal. The state is kept in
// 32-bit words and a whole block of 624 numbers is twisted and tempered at once
// into a buffer that the draws then read, so both loops run over plain arrays
// the compiler can work on several words at a time, and a draw is a read.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

namespace meldora {

class GameRandom {
public:
    // The types and range of std::mt19937, so that the standard distributions
    // take the same path through their arithmetic and give the same values.
    using result_type = std::uint_fast32_t;
    static constexpr result_type min() { return 0; }
    static constexpr result_type max() { return 0xffffffffu; }
    static constexpr result_type default_seed = 5489u;

    explicit GameRandom(result_type value = default_seed) { seed(value); }
    GameRandom(const GameRandom&) = default;
    // A game copied for trying moves out copies its generator each time: the
    // numbers of the block already drawn are never read again and stay behind.
    GameRandom& operator=(const GameRandom& other)
    {
        state_ = other.state_;
        next_ = other.next_;
        if (next_ < StateSize)
            std::copy(other.drawn_.begin() + next_, other.drawn_.end(), drawn_.begin() + next_);
        return *this;
    }
    void seed(result_type value);

    result_type operator()()
    {
        if (next_ >= StateSize)
            Refill();
        return drawn_[next_++];
    }

    // Reads many numbers in a row, as the shuffle's six hundred draws do: the
    // reader keeps its place in the block in a variable of its own, which the
    // compiler holds in a register across the draws, rather than in the
    // generator, where every write to a card could have changed it. It hands
    // the place back to the generator when it goes out of scope; the generator
    // itself must not be drawn from while a reader is alive.
    class Reader {
    public:
        using result_type = GameRandom::result_type;
        static constexpr result_type min() { return GameRandom::min(); }
        static constexpr result_type max() { return GameRandom::max(); }

        explicit Reader(GameRandom& random) : random_(random), next_(random.next_) {}
        ~Reader() { random_.next_ = next_; }
        Reader(const Reader&) = delete;
        Reader& operator=(const Reader&) = delete;

        result_type operator()()
        {
            if (next_ >= StateSize) {
                random_.Refill();
                next_ = 0;
            }
            return random_.drawn_[next_++];
        }

    private:
        GameRandom& random_;
        std::size_t next_;
    };

private:
    static constexpr std::size_t StateSize = 624;
    // Twists the state into its next block and tempers that block into drawn_.
    void Refill();

    std::array<std::uint32_t, StateSize> state_{};
    std::array<std::uint32_t, StateSize> drawn_{};
    std::size_t next_ = StateSize;
};

}  // namespace meldora
