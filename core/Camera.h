// A view's navigation camera: places the view's engine camera by orbit parameters
// (look-at point, distance, horizontal and vertical angle, roll, pan offset).
#pragma once

#include "CoreTypes.h"

#include <cstdint>

class Camera {
public:
    // Roll in radians, applied last by Update; MouseMove keeps it within +/-1.57.
    double RollAngle = 0;
    // The view's engine camera.
    int32_t lngSceneCamera = 0;
    // Distance of the eye from the look-at point.
    double dblViewingDistance = 0;
    // The world camera the view looks through, by handle; 0 for none.
    int32_t ViewedSceneCamera = 0;

    // Stores the orbit; Update applies it.
    void Initialize(double Dist, double HorizAng, double VerAng);
    // Places the engine camera: eye, axes, pan offset, roll.
    void Update();
    void ReSetCamDistFrmEye();
    // Remembers the pointer's screen position (not the event's) as the drag start.
    void MouseDown(int intButton, int intShift, float sngX, float sngY);
    // One navigation step by the current tool; sngX and sngY come back holding the
    // pointer's screen position. The caller calls Update and repaints.
    void MouseMove(int intButton, int intShift, float& sngX, float& sngY);
    void PointAtGrp(int32_t Grp);
    void PointAtGrpLoc(int32_t Grp);
    void PointAtLoc(const Point3d& Loc);
    void SetLookAtOffset(double VerticalAngOffset, double HorizontalAngOffset);

    double HorizontalAngle() const { return horizAng_; }
    double VerticalAngle() const { return verAng_; }
    const Point3d& LookAt() const { return lookAt_; }
    double HorizontalOffset() const { return horizOffset_; }
    double VerticalOffset() const { return vertOffset_; }

private:
    void PanByMouse(double dx, double dy, double zoom);
    void MoveByLookAtOffset();

    double vertOffset_ = 0;
    double horizOffset_ = 0;
    double verAng_ = 0;
    double horizAng_ = 0;
    Point3d eye_ = {0, 0, 0};
    Point3d lookAt_ = {0, 0, 0};
    double startX_ = 0;
    double startY_ = 0;
};
