// The builders' random colours. One sequence, seeded with a fixed value, serves
// every builder of the run, so each run colours its primitives alike.
#pragma once

#include <array>
#include <cstdint>
#include <random>

namespace geometry {

class RandomSequence {
public:
    // A Single in [0, 1).
    float Rnd();

private:
    std::mt19937 generator_{kSeed};
    static constexpr std::uint32_t kSeed = 20050417;
};

// The builders' one sequence.
RandomSequence& BuilderRandom();

// Red, green, blue: each Rnd × 255 rounded half to even.
std::array<std::uint8_t, 3> RandomColour(RandomSequence& sequence);

}  // namespace geometry
