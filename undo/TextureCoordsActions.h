// Undo record of a change of texture coordinates: the points with the polygons
// they are written through, and their (u, v) before and after. Planar mapping and
// the texture-coordinate editor's drags and mirror record it.
#pragma once

#include <cstdint>
#include <vector>

class ActionChngTextureCoords {
public:
    // Write the coordinates before (after) back, then refresh an open editor.
    void Undo();
    void Redo();
    // Appends every point of every selected polygon (SelPols) with its polygon.
    void SetPtsChangedToCurrSel();
    // Replaces the recorded points by entries 1..total of both lists.
    template <class Pts, class Owners>
    void SetPtsChangedToGiven(const Pts& pts, const Owners& owners, int32_t total) {
        Points.assign(1, 0);
        OwnerPols.assign(1, 0);
        for (int32_t i = 1; i <= total; ++i) Append(pts[i], owners[i]);
    }
    // The present (u, v) of the recorded points, as the coordinates before (after).
    void ExtractIniCoordsLoc();
    void ExtractFnlCoordsLoc();

    int32_t NumOfPts() const { return static_cast<int32_t>(Points.size()) - 1; }
    // False when every point ends where it started: the change did nothing.
    bool ChangesAnything() const;

private:
    void Append(int32_t point, int32_t owner);
    void Extract(std::vector<double>& coords) const;
    void Write(const std::vector<double>& coords) const;

    std::vector<int32_t> Points{0};     // from index 1
    std::vector<int32_t> OwnerPols{0};  // the polygon each point is written through
    // u of point i at 2i - 1, v at 2i.
    std::vector<double> IniCoords{0};
    std::vector<double> FnlCoords{0};
};
