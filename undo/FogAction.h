// The undo record of one visit to the fog dialog: the world's fog colour and
// intensity before and after. Neither Undo nor Redo redraws; the Undo and Redo
// commands do.
#pragma once

#include <array>
#include <cstdint>

class ActionChngFog {
public:
    // The colour before, then the intensity before.
    void Undo();
    // The colour after, then the intensity after.
    void Redo();
    // Clr: red, green, blue.
    void SetOldFogValues(const std::array<int32_t, 3>& Clr, double Intensity);
    void SetNewFogValues(const std::array<int32_t, 3>& Clr, double Intensity);
    // Whether the visit changed the colour or the intensity.
    bool Changed() const { return OldClr != NewClr || OldIntensity != NewIntensity; }

private:
    static void apply(const std::array<int32_t, 3>& clr, double intensity);

    std::array<int32_t, 3> OldClr{}, NewClr{};
    double OldIntensity = 0, NewIntensity = 0;
};
