// Undo records of hiding and showing. They keep which entities changed, not a
// hidden state (that lives in the tree nodes' images), and the selection around
// the command.
#pragma once

#include "core/MultipleSelection.h"

#include <cstdint>

// A selection as a record keeps it: kind, handle, and the entities of kind 6.
struct RecordedSelection {
    int32_t Kind = 0;
    int32_t Handle = 0;
    MultipleSelection Entities;

    // Kind 6 copies multiSel (cameras, groups, lights, tracks).
    void Set(int32_t kind, int32_t handle, const MultipleSelection* multiSel);
    // Makes it the current selection, the trees and panels following.
    void MakeCurrent() const;
};

class ActionHide {
public:
    // Shows the hidden entities again and gives the selection of before back.
    void Undo();
    // Hides them again; the selection becomes the one after the command.
    void Redo();
    // What is hidden: kind 1, 2 or 4 with its handle, or 6 with multiSel (a
    // missing multiSel is reported and nothing is copied); what is hidden
    // already is left out.
    void SetEntityHidden(int32_t kind, int32_t handle, const MultipleSelection* multiSel);
    void SetEntitySelBeforeHide(int32_t kind, int32_t handle, const MultipleSelection* multiSel);
    void SetEntitySelAfterHide(int32_t kind, int32_t handle, const MultipleSelection* multiSel);
    // Collecting modes: every shown light; every shown world camera; every shown
    // world camera, light and top-level group that is not selected (a top-level
    // group holding a selected group counts as selected), with what of the
    // current selection must be shown again (ShownAgain).
    void HidingAllLightsInScene();
    void HidingAllCamerasInScene();
    void HidingUnselected();

    // Whether the record hides or shows anything: a record that would change
    // nothing is not pushed.
    bool HidesNothing() const;
    const RecordedSelection& Hidden() const { return Hidden_; }
    // What Hide UnSelected shows: selected entities that were hidden and hidden
    // groups holding selected groups.
    const RecordedSelection& ShownAgain() const { return ShownAgain_; }

private:
    RecordedSelection Hidden_;
    RecordedSelection ShownAgain_;
    RecordedSelection Before;
    RecordedSelection After;
};

class ActionUnhide {
public:
    // Hides the shown entities again; nothing is selected.
    void Undo();
    // Shows them again; nothing is selected.
    void Redo();
    void SetEntityUnHidden(int32_t kind, int32_t handle, const MultipleSelection* multiSel);
    void SetEntitySelBeforeUnhide(int32_t kind, int32_t handle, const MultipleSelection* multiSel);
    // Collecting modes: every hidden light; every hidden world camera; every
    // hidden top-level group, world camera and light.
    void UnHidingAllLightsInScene();
    void UnHidingAllCamerasInScene();
    void UnHidingAllObjects();

    bool ShowsNothing() const;
    const RecordedSelection& Shown() const { return Shown_; }

private:
    RecordedSelection Shown_;
    RecordedSelection Before;
};
