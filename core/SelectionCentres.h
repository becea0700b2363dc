// Average centres of the selected points, polygons, entities and track points,
// and the centre of the selected track, recomputed from the engine. An empty
// selection leaves its centre as it was.
#pragma once

namespace Globals {

// SelPtsAvgCenter: mean position of SelPts(1..NumSelPts).
void ComputeSelPtsAvgCenter();
// SelPolsAvgCenter: mean of the centres of SelPols(1..NumSelPols).
void ComputeSelPolsAvgCenter();
// SelObjsAvgCenter: mean of the groups' rotate reference points and the cameras'
// and lights' locations of CurrMultiSel (its tracks do not count).
void ComputeSelObjsAvgCenter();
// SelTrkPtsAvgCenter: mean of the points SelTrkPts(1..NumSelTrkPts) of the selected track.
void ComputeSelTrackPtsAvgCenter();
// TrkCenter: the centre of the selected track.
void UpdateTrackCenter();

}  // namespace Globals
