// Undo records of selection changes: the selected entity, the selected polygons,
// points, texture-coordinate points and track points. Each holds the selection
// before and after; Undo writes the one before back into the shared selection
// state and brings what depends on it in step, Redo the one after.
#pragma once

#include "HandleList.h"

#include "core/MultipleSelection.h"

#include <cstdint>
#include <memory>
#include <vector>

// A selection of handles or point numbers before and after a change, each a
// list used from index 1 with its count.
struct SelectionBeforeAfter {
    std::vector<int32_t> Old{0};
    int32_t OldCount = 0;
    std::vector<int32_t> New{0};
    int32_t NewCount = 0;

    template <class List>
    void SetOld(const List& list, int32_t count) {
        Old = CopyHandleList(list, count);
        OldCount = count;
    }
    template <class List>
    void SetNew(const List& list, int32_t count) {
        New = CopyHandleList(list, count);
        NewCount = count;
    }
};

class ActionSelectPols {
public:
    void Undo();
    void Redo();
    // Lists used from index 1.
    template <class List>
    void SetNewSelPols(const List& pols, int32_t total) {
        Pols.SetNew(pols, total);
    }
    template <class List>
    void SetOldSelPols(const List& pols, int32_t total) {
        Pols.SetOld(pols, total);
    }

private:
    static void Restore(const std::vector<int32_t>& pols, int32_t count);

    SelectionBeforeAfter Pols;
};

class ActionSelectPts {
public:
    void Undo();
    void Redo();
    template <class List>
    void SetNewSelPts(const List& pts, int32_t total) {
        Pts.SetNew(pts, total);
    }
    template <class List>
    void SetOldSelPts(const List& pts, int32_t total) {
        Pts.SetOld(pts, total);
    }

private:
    static void Restore(const std::vector<int32_t>& pts, int32_t count);

    SelectionBeforeAfter Pts;
};

class ActionSelect {
public:
    void Undo();
    void Redo();
    // The new kind and handle (and CurrMultiSel for kind 6) from the current selection.
    void SetNewSelToCurrSel();
    // The old kind and handle (and PrevMultiSel) from the previous selection, and the
    // point and polygon selections that the change is about to clear.
    void SetOldSelToPrevSel();

private:
    static void BringInStep(int32_t kind, const MultipleSelection& multiSel);
    static void HideLightPanel();

    MultipleSelection OldMultiSel;
    MultipleSelection NewMultiSel;
    int32_t OldKind = 0;
    int32_t OldHandle = 0;
    int32_t NewKind = 0;
    int32_t NewHandle = 0;
    std::unique_ptr<ActionSelectPols> PolsPart;
    std::unique_ptr<ActionSelectPts> PtsPart;
};

class ActionSelectCoords {
public:
    void Undo();
    void Redo();
    // Selection type 0: the points within the selected polygons ("Selected Only"
    // down); 1: the editor's ordinary list.
    template <class List, class Owners>
    void SetNewSelPts(const List& pts, const Owners& owners, int32_t total, int32_t selectionType) {
        NewPts = CopyHandleList(pts, total);
        NewOwners = CopyHandleList(owners, total);
        NewCount = total;
        NewType = selectionType;
    }
    template <class List, class Owners>
    void SetOldSelPts(const List& pts, const Owners& owners, int32_t total, int32_t selectionType) {
        OldPts = CopyHandleList(pts, total);
        OldOwners = CopyHandleList(owners, total);
        OldCount = total;
        OldType = selectionType;
    }

private:
    static void Restore(const std::vector<int32_t>& pts, const std::vector<int32_t>& owners, int32_t count,
                        int32_t type);

    std::vector<int32_t> OldPts{0}, OldOwners{0};
    int32_t OldCount = 0;
    std::vector<int32_t> NewPts{0}, NewOwners{0};
    int32_t NewCount = 0;
    int32_t OldType = 1;
    int32_t NewType = 1;
};

class ActionSelectTrkPts {
public:
    void Undo();
    void Redo();
    // Point numbers of the selected track, used from index 1.
    template <class List>
    void SetNewSelTrkPts(const List& indices, int32_t total) {
        TrkPts.SetNew(indices, total);
    }
    template <class List>
    void SetOldSelTrkPts(const List& indices, int32_t total) {
        TrkPts.SetOld(indices, total);
    }

private:
    static void Restore(const std::vector<int32_t>& pts, int32_t count);

    SelectionBeforeAfter TrkPts;
};
