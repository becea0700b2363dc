// The undo record of a change of polygon fills: an animation, a bitmap or a
// plain colour given to a whole group or to the selected polygons. It records
// every polygon's fill before the change, so Undo gives each its own back.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

class ActionApplyTextureToGrp {
public:
    // Every recorded polygon gets its previous fill: its animation when it had
    // one, else its bitmap, else its colour.
    void Undo();
    // Every recorded polygon gets the new fill, polygon by polygon.
    void Redo();
    // PolFillType: 0 animation, 1 bitmap, 2 colour.
    void SetNewFillType(int32_t FillType);
    void SetNewMapHandle(int32_t Map);
    // Red, green, blue.
    void SetNewColor(const std::array<uint8_t, 3>& Clr);
    void SetNewAnimation(int32_t Animation);
    // True: every polygon of the current group; False: SelPols 1..NumSelPols.
    // Records each polygon's present animation, bitmap and colour (low bytes).
    void SetSelToCurrSel(bool GroupSelection);
    // Every polygon of each group (a multiple selection), each once even when a
    // group lies inside another, with its present fill.
    void SetSelToGroups(const std::vector<int32_t>& Groups);

    // Whether the record keeps the bitmap or animation handle (a previous fill or
    // the new one), and the handle replaced by another wherever it keeps it.
    bool NamesHandle(int32_t handle) const;
    void ReplaceHandle(int32_t from, int32_t to);

    int32_t PolygonCount() const { return Count; }

private:
    void record(int32_t polygon);
    void clearRecorded();

    bool WholeGroup = false;
    int32_t Group = 0;
    int32_t Count = 0;
    std::vector<int32_t> Pols{0};            // from index 1
    std::vector<int32_t> PrevAnimations{0};  // from index 1
    std::vector<int32_t> PrevBitmaps{0};     // from index 1
    std::vector<uint8_t> PrevColours{0, 0, 0};  // polygon i at 3i, 3i+1, 3i+2
    int32_t NewFillType = 0;
    int32_t NewBitmap = 0;
    int32_t NewAnimation = 0;
    std::array<uint8_t, 3> NewColour{};
};
