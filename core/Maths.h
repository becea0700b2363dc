// Vector, plane and 2D-point procedures. Angles are in degrees at every interface
// except GetAngle (radians). Results go to caller arrays, which may be the inputs.
#pragma once

#include "CoreTypes.h"

#include <cstdint>
#include <span>

namespace Maths {

// The degree-radian conversions and GetAngle use these literals as written.
inline constexpr double Pi = 3.14159265358979;
inline constexpr double PiShort = 3.14159265359;
inline constexpr double ThreeHalfPiShort = 9.42477796077;

void CopyVector(Point3d& dst, const Point3d& src);
void SetVector(Point3d& v, double x, double y, double z);
void AddVector(Point3d& v, const Point3d& d);
void VectorFromTo(const Point3d& a, const Point3d& b, Point3d& result);
void ScaleVector(Point3d& v, double factor);
// Raises an error for a zero vector instead of dividing by zero.
void NormalizeVector(const Point3d& v, Point3d& result);
void NegateVector(Point3d& v);
// 0..180; a zero vector shows "invalid vector" and gives 0.
double AngleBetweenVectors(const Point3d& a, const Point3d& b);
// Polar angle in radians, not wrapped to 0..2 pi.
double GetAngle(double x, double y);
// flag True negates dir in the caller's array first (it stays negated).
void PointAlongVector(Point3d& result, const Point3d& p, Point3d& dir, bool flag, double t, double dz);
// Reads the plane as a x + b y + c z = d; raises an error for a zero normal.
void ProjectPointOnPlane(const Point3d& p, const Plane4d& plane, Point3d& result);
// Arrays of any equal length; result untouched when the line is degenerate as in the
// algorithm (1 + k = 0).
void ClosestPointOnLine(std::span<const double> p, std::span<const double> a, std::span<const double> b,
                        std::span<double> result);
void ClosestPointOnLine2D(const PixelPt& p, const PixelPt& a, const PixelPt& b, PixelPt& result);
double VectorLength(const Point3d& v);
// Signed; raises an error for a zero normal.
double DistanceFromPlane(const Point3d& p, const Plane4d& plane);
void PlaneFromThreePoints(const Point3d& p0, const Point3d& p1, const Point3d& p2, Plane4d& plane);
double DistanceSquared(const Point3d& a, const Point3d& b);
double Distance(std::span<const double> a, std::span<const double> b);
double Distance2D(const PixelPt& a, const PixelPt& b);
double ElevationAngle(const Point3d& v, const Point3d& n);
// Counter-clockwise for a positive angle.
void RotatePoint2D(double x, double y, double angle, double& outX, double& outY);
// Only the first two elements of each array are used.
void RotatePointAboutCenter2D(std::span<const double> p, std::span<const double> centre, double angle,
                              std::span<double> result);
// Right-handed about each axis (y to z about x, z to x about y, x to y about z).
void RotatePointAboutAxis(Point3d& p, double angle, int32_t axis, const Point3d& centre);
// The nearest whole number, an exact half to the even neighbour.
double RoundHalfEven(double x);
// Equal after rounding each component to 6 decimals, half to even.
bool VectorsEqual(const Point3d& a, const Point3d& b);
// True when the segments do NOT cross; otherwise result holds the crossing point.
bool SegmentsIntersection2D(const PixelPt& p1, const PixelPt& p2, const Point2d& q1, const Point2d& q2,
                            Point2d& result);

}  // namespace Maths
