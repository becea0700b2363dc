#include "RandomColour.h"

#include "core/Maths.h"

namespace geometry {

float RandomSequence::Rnd() {
    // 24 random bits: every value exactly representable, 1 never reached.
    return static_cast<float>(generator_() >> 8) * (1.0f / 16777216.0f);
}

RandomSequence& BuilderRandom() {
    static RandomSequence sequence;
    return sequence;
}

std::array<std::uint8_t, 3> RandomColour(RandomSequence& sequence) {
    std::array<std::uint8_t, 3> rgb{};
    for (std::uint8_t& byte : rgb) {
        const float scaled = sequence.Rnd() * 255.0f;
        byte = static_cast<std::uint8_t>(Maths::RoundHalfEven(static_cast<double>(scaled)));
    }
    return rgb;
}

}  // namespace geometry
