// Undo records of the polygon panel's properties: the rotated flag, the light
// diminution, the blending code, the transparent colour of a polygon's bitmap and
// the flip. Each record keeps every recorded polygon's own previous value, so an
// Undo gives each polygon back what it had; a Redo writes the one new value to
// all. The records bring the panel's control for their property in line.
#pragma once

#include "HandleList.h"

#include <cstdint>
#include <vector>

class ActionChngPolRotatedProp {
public:
    // Each polygon gets its own flag back; the box shows the previous flag.
    void Undo();
    // Every polygon gets the opposite of the previous flag, which the box shows.
    void Redo();
    // The box's state before the click.
    void SetPrevRotatedFlag(bool Flag) { PrevFlag = Flag; }
    // SelPols(1..NumSelPols) with each polygon's present flag; call before the change.
    void SetSelToCurrSel();

    int32_t NumOfPols() const { return Count; }

private:
    bool PrevFlag = false;
    std::vector<int32_t> Pols{0};  // from index 1
    std::vector<int32_t> PrevFlags{0};
    int32_t Count = 0;
};

class ActionChngPolLightDimu {
public:
    // Each polygon gets its own value back; the field shows the previous value.
    void Undo();
    // Every polygon gets the new value, which the field shows.
    void Redo();
    // The value the field shows on Undo: the first selected polygon's.
    void SetPrevLightDimu(double LightDimu) { PrevLightDimu = LightDimu; }
    void SetnewLightDimu(double LightDimu) { NewLightDimu = LightDimu; }
    // SelPols(1..NumSelPols) with each polygon's present value; call before the change.
    void SetSelToCurrSel();

    int32_t NumOfPols() const { return Count; }

private:
    double PrevLightDimu = 0;
    double NewLightDimu = 0;
    std::vector<int32_t> Pols{0};
    std::vector<double> PrevValues{0};
    int32_t Count = 0;
};

class ActionChngPolTranslucency {
public:
    // Each polygon gets its own code back; the list shows the first selected polygon's.
    void Undo();
    // Every polygon gets the new code (its low byte); the list shows the first
    // selected polygon's.
    void Redo();
    void SetPrevTranslucency(int32_t Translucency) { PrevTranslucency = Translucency; }
    void SetnewTranslucency(int32_t Translucency) { NewTranslucency = Translucency; }
    // SelPols(1..NumSelPols) with each polygon's present code; call before the change.
    void SetSelToCurrSel();

    int32_t NumOfPols() const { return Count; }

private:
    int32_t PrevTranslucency = 0;
    int32_t NewTranslucency = 0;
    std::vector<int32_t> Pols{0};
    std::vector<int32_t> PrevCodes{0};
    int32_t Count = 0;
};

class ActionChngPolTrnsIndx {
public:
    // The polygon's bitmap loaded again with the previous or the new transparent
    // index (-1: none), given to the polygon or, with the affect-all flag, to every
    // collected polygon; the transparent-colour controls follow.
    void Undo() { Apply(PrevIndx); }
    void Redo() { Apply(NewIndx); }
    void SetSel_PolandFatherGrp(int32_t Pol, int32_t Father) {
        Polygon = Pol;
        FatherGrp = Father;
    }
    // True also collects the father group's polygons that use the polygon's bitmap
    // now; call after SetSel_PolandFatherGrp and before the bitmap changes.
    void SetAffectAllPolsWithSameMapNameFlag(bool Flag);
    void SetPrevTrnsIndx(int32_t Indx) { PrevIndx = Indx; }
    void SetNewTrnsIndx(int32_t Indx) { NewIndx = Indx; }
    // A bitmap the command loaded for the new colour: Undo unloads it once nothing
    // keeps it, as it does any copy the record's own Undo or Redo loaded.
    void SetLoadedBitmap(int32_t bitmap) { Loaded.push_back(bitmap); }
    // The loaded bitmaps follow a bitmap reloaded under a new handle.
    void ReplaceHandle(int32_t from, int32_t to);

    int32_t NumOfCollectedPols() const { return Count; }

private:
    void Apply(int32_t index);

    int32_t Polygon = 0;
    int32_t FatherGrp = 0;
    bool AffectAll = false;
    std::vector<int32_t> Pols{0};
    int32_t Count = 0;
    int32_t PrevIndx = -1;
    int32_t NewIndx = -1;
    std::vector<int32_t> Loaded;  // bitmaps this record's command, Undo or Redo loaded
};

class ActionPolsFlip {
public:
    // A flip taken back is the same flip again.
    void Undo();
    void Redo();
    template <class List>
    void SetPolsFlipped(const List& PolsArray, int32_t TotalPols) {
        Pols = CopyHandleList(PolsArray, TotalPols);
        Count = TotalPols;
    }

private:
    std::vector<int32_t> Pols{0};
    int32_t Count = 0;
};
