#include <gtest/gtest.h>

#include <random>

#include "core/game_random.h"

using namespace meldora;

namespace {

// Draws count numbers from both and tells how many differ.
template <typename Ours>
int DifferingDraws(Ours& ours, std::mt19937& standard, int count)
{
    int differing = 0;
    for (int i = 0; i < count; ++i)
        differing += ours() != standard() ? 1 : 0;
    return differing;
}

}  // namespace

// Saved deals, the simulator's duplicate matches and the tests' seeded games
// all depend on the game's generator giving the standard engine's numbers.
TEST(GameRandom, GivesTheStandardMersenneTwistersNumbers)
{
    for (const std::uint32_t seed : {0u, 1u, 5489u, 0x9e3779b9u, 0xffffffffu}) {
        GameRandom ours(seed);
        std::mt19937 standard(seed);
        EXPECT_EQ(DifferingDraws(ours, standard, 3000), 0) << "seed " << seed;  // several blocks of 624
    }
}

TEST(GameRandom, ReseedingAndCopyingContinueLikeTheStandardEngine)
{
    GameRandom ours(3);
    std::mt19937 standard(3);
    ASSERT_EQ(DifferingDraws(ours, standard, 700), 0);
    // Assigned over a generator that has drawn fewer numbers of its block, the
    // copy must still give the rest of the block and the blocks after it.
    GameRandom copy(99);
    copy();
    copy = ours;
    std::mt19937 standardCopy = standard;
    EXPECT_EQ(DifferingDraws(copy, standardCopy, 1300), 0);

    ours.seed(11);
    standard.seed(11);
    std::uniform_int_distribution<int> slot(0, 107);
    std::uniform_real_distribution<double> chance(0.0, 1.0);
    for (int i = 0; i < 1000; ++i) {
        ASSERT_EQ(slot(ours), slot(standard)) << "draw " << i;
        ASSERT_EQ(chance(ours), chance(standard)) << "draw " << i;
    }
}

// The shuffle draws through a reader: it must go on from the generator's place,
// across a block's end, and leave the generator at its own place.
TEST(GameRandom, AReaderDrawsTheNextNumbersAndHandsBackItsPlace)
{
    GameRandom ours(7);
    std::mt19937 standard(7);
    ASSERT_EQ(DifferingDraws(ours, standard, 600), 0);
    std::uniform_int_distribution<int> slot(0, 107);
    int differing = 0;
    {
        GameRandom::Reader reader(ours);
        for (int i = 0; i < 100; ++i)
            differing += slot(reader) != slot(standard) ? 1 : 0;
    }
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(DifferingDraws(ours, standard, 700), 0);
}
