// Every action class of the undo record, in the record's field order:
// X(field, class, code, built). A class not built yet keeps its code and field
// name; building it means writing the class, including its header in
// ActionUndoRedo.h and turning its flag to true here.
#pragma once

#define TALVORA_UNDO_ACTIONS(X)                                        \
    X(SelectObj, ActionSelect, ActSelect, true)                        \
    X(Move, ActionMove, ActMove, true)                                 \
    X(ScaleObj, ActionScale, ActScale, true)                           \
    X(Delete, ActionDelete, ActDelete, true)                           \
    X(Rotate, ActionRotate, ActRotate, true)                           \
    X(MoveGrpPoints, ActionMoveGrpPoints, ActMoveGrpPoints, true)     \
    X(RotateGrpPoints, ActionRotateGrpPoints, ActRotateGrpPoints, true) \
    X(ScaleGrpPoints, ActionScaleGrpPoints, ActScaleGrpPoints, true)  \
    X(DeleteGrpPols, ActionDeleteGrpPols, ActDeleteGrpPols, true)      \
    X(MoveGrpPols, ActionMoveGrpPols, ActMoveGrpPols, true)           \
    X(RotateGrpPols, ActionRotateGrpPols, ActRotateGrpPols, true)     \
    X(ScaleGrpPols, ActionScaleGrpPols, ActScaleGrpPols, true)        \
    X(ChngFatherGrp, ActionChangeFatherGrp, ActChangeFatherGrp, true) \
    X(GroupGrps, ActionGroupTogather, ActGroupTogather, true)          \
    X(Ungroup, ActionUnGroup, ActUnGroup, true)                        \
    X(Extrude, ActionExtrude, ActExtrude, true)                        \
    X(SelectPols, ActionSelectPols, ActSelectPols, true)               \
    X(Bevel, ActionBevel, ActBevel, true)                              \
    X(Create, ActionCreate, ActCreate, true)                           \
    X(SelectPts, ActionSelectPts, ActSelectPts, true)                  \
    X(ReplaceGrp, ActionReplaceGrp, ActReplaceGrp, true)               \
    X(ApplyTexture, ActionApplyTextureToGrp, ActApplyTextureToGrp, true) \
    X(ChngTextureCoords, ActionChngTextureCoords, ActChngTextureCoords, true) \
    X(SelectCoords, ActionSelectCoords, ActSelectCoords, true)         \
    X(RenameEntity, ActionRenameEntity, ActRenameEntity, true)         \
    X(CutPols, ActionCutPol, ActCutPol, true)                          \
    X(HideSel, ActionHide, ActHide, true)                              \
    X(UnHideSel, ActionUnhide, ActUnhide, true)                        \
    X(ChngFog, ActionChngFog, ActChngFog, true)                        \
    X(ChngPolRotatedProp, ActionChngPolRotatedProp, ActChngPolRotatedProp, true) \
    X(ChngPolLightDimu, ActionChngPolLightDimu, ActChngPolLightDimu, true) \
    X(ChngPolTranslucency, ActionChngPolTranslucency, ActChngPolTranslucency, true) \
    X(ChngPolTransIndx, ActionChngPolTrnsIndx, ActChngPolTrnsIndx, true) \
    X(FlipPols, ActionPolsFlip, ActPolsFlip, true)                    \
    X(Align, ActionAlign, ActAlign, true)                             \
    X(SelectTrkPts, ActionSelectTrkPts, ActSelectTrkPts, true)         \
    X(MoveTrkPts, ActionMoveTrkPts, ActMoveTrkPts, true)              \
    X(RotateTrkPts, ActionRotateTrkPts, ActRotateTrkPts, true)        \
    X(ScaleTrkPts, ActionScaleTrkPts, ActScaleTrkPts, true)           \
    X(DetachPols, ActionDetachPols, ActDetachPols, true)
