#include "RoundPrimitives.h"

#include <cmath>

namespace geometry {

void RoundPrimitive::Disc(double R, double z, int32_t sides, bool reverse) {
    const Point3d normal = {0, 0, reverse ? 1.0 : -1.0};
    const double step = kTwoPi / sides;
    BeginFace();
    double a = 0;
    for (int32_t k = 1; k <= sides; ++k) {
        const Point3d p = {R * RoundedCos(a), R * RoundedSin(a), z};
        Corner(p, p[0] / (2 * R) + 0.5, p[1] / (2 * R) + 0.5, 100.0, normal);
        a = reverse ? a - step : a + step;
    }
    EndFace();
}

// ---- cylinder

bool CreateCylinder::Create(double CylRadius, double CylHeight, int32_t CSegs, int32_t SSegs, int32_t HSegs) {
    if (RefusesSides(SSegs)) return false;
    CylRadius_ = CylRadius;
    CylHeight_ = CylHeight;
    CSegs_ = CSegs;  // the caps are single polygons whatever it says
    SSegs_ = SSegs;
    HSegs_ = HSegs;
    HeightStep_ = CylHeight / HSegs;
    StartGroup("Cylinder");
    CreateCylinderSides(false);
    CreateCylinderCap(false, false);
    CreateCylinderCap(true, true);
    FinishGroup();
    return true;
}

// Column by column from angle 0, each column from the top band down; the normal
// of a mantle point is its own (x, y, 0).
void CreateCylinder::CreateCylinderSides(bool flip) {
    const double R = CylRadius_, h = CylHeight_ / 2, dz = HeightStep_;
    const double da = kTwoPi / SSegs_;
    double a = 0, u = 0;
    for (int32_t i = 1; i <= SSegs_; ++i) {
        const double c0 = RoundedCos(a), s0 = RoundedSin(a);
        const double c1 = RoundedCos(a + da), s1 = RoundedSin(a + da);
        double v = 0;
        for (int32_t j = 1; j <= HSegs_; ++j) {
            const double top = h - (j - 1) * dz, bottom = h - j * dz;
            const Point3d p1 = {c0 * R, s0 * R, top}, p2 = {c1 * R, s1 * R, top};
            const Point3d p3 = {c1 * R, s1 * R, bottom}, p4 = {c0 * R, s0 * R, bottom};
            BeginFace();
            Corner(p1, u, v, 100.0, {p1[0], p1[1], 0});
            Corner(p2, u + 1.0 / SSegs_, v, 100.0, {p2[0], p2[1], 0});
            Corner(p3, u + 1.0 / SSegs_, v + 1.0 / HSegs_, 100.0, {p3[0], p3[1], 0});
            Corner(p4, u, v + 1.0 / HSegs_, 100.0, {p4[0], p4[1], 0});
            EndFace(flip);
            v = v + 1.0 / HSegs_;
        }
        a = a + da;
        u = u + 1.0 / SSegs_;
    }
}

// reverse walks the angles downwards and faces +z.
void CreateCylinder::CreateCylinderCap(bool top, bool reverse) {
    Disc(CylRadius_, top ? CylHeight_ / 2 : -CylHeight_ / 2, SSegs_, reverse);
}

// ---- sphere

bool CreateSphere::Create(double SphRadius, int32_t SphSegs) {
    SphRadius_ = SphRadius;
    SphSegs_ = SphSegs;
    StartGroup("Sphere");
    CreateSphereFaces();
    FinishGroup();
    return true;
}

// Bands from the +z pole down, slices of growing longitude; the first band's faces
// are triangles at the pole, the last band's at the other pole. Every normal is
// the point's own position vector.
void CreateSphere::CreateSphereFaces() {
    const int32_t N = SphSegs_ + 1;
    if (N <= 0) return;
    const double R = SphRadius_;
    const double step = kPi / N, du = 0.5 / N, dv = 1.0 / N;
    double theta1 = 0, v = 0;
    for (int32_t i = 1; i <= N; ++i) {
        const double theta2 = theta1 + step;
        const double rho1 = R * RoundedSin(theta1), rho2 = R * RoundedSin(theta2);
        const double z1 = R * RoundedCos(theta1), z2 = R * RoundedCos(theta2);
        double phi1 = 0, u = 0;
        for (int32_t j = 1; j <= 2 * N; ++j) {
            const double phi2 = phi1 + step;
            const double c1 = RoundedCos(phi1), s1 = RoundedSin(phi1);
            const double c2 = RoundedCos(phi2), s2 = RoundedSin(phi2);
            const Point3d p0 = {rho1 * c1, rho1 * s1, z1}, p1 = {rho1 * c2, rho1 * s2, z1};
            const Point3d p2 = {rho2 * c2, rho2 * s2, z2}, p3 = {rho2 * c1, rho2 * s1, z2};
            BeginFace();
            Corner(p0, u, v, 100.0, p0);
            if (i != 1) Corner(p1, u + du, v, 100.0, p1);
            Corner(p2, u + du, v + dv, 100.0, p2);
            if (i != N) Corner(p3, u, v + dv, 100.0, p3);
            EndFace();
            phi1 = phi2;
            u = u + du;
        }
        theta1 = theta2;
        v = v + dv;
    }
}

// ---- cone

bool CreateCone::Create(double ConRadius, double ConHeight, int32_t CSegs, int32_t SSegs, int32_t HSegs) {
    if (RefusesSides(SSegs)) return false;
    ConRadius_ = ConRadius;
    ConHeight_ = ConHeight;
    CSegs_ = CSegs;  // the base is one polygon whatever it says
    SSegs_ = SSegs;
    HSegs_ = HSegs;
    RingHeight_ = ConHeight / HSegs;
    StartGroup("Cone");
    CreateConeSides();
    CreateConeCap();
    FinishGroup();
    return true;
}

// Rings from the base up; the last ring closes on the apex with triangles. Side
// normals are the unit normals of the slope (unrounded angles), the apex's +z.
void CreateCone::CreateConeSides() {
    const int32_t S = SSegs_, H = HSegs_;
    const double R = ConRadius_, h = ConHeight_;
    const double du = 1.0 / S, dv = 1.0 / H, dh = RingHeight_, step = kTwoPi / S;
    const double alpha = std::atan(h / R);
    auto slopeNormal = [&](double phi) -> Point3d {
        return {std::cos(phi) * std::sin(alpha), std::sin(phi) * std::sin(alpha), std::cos(alpha)};
    };
    double z1 = 0, v = 0;
    for (int32_t k = 1; k <= H; ++k) {
        const double z2 = z1 + dh;
        const double r1 = R * (1 - z1 / h), r2 = R * (1 - z2 / h);
        double phi1 = 0, u = 0;
        for (int32_t j = 1; j <= S; ++j) {
            const double phi2 = phi1 + step;
            const double c1 = RoundedCos(phi1), s1 = RoundedSin(phi1);
            const double c2 = RoundedCos(phi2), s2 = RoundedSin(phi2);
            const Point3d n1 = slopeNormal(phi1), n2 = slopeNormal(phi2);
            BeginFace();
            Corner({r1 * c1, r1 * s1, z1}, u, v, 100.0, n1);
            if (k != H) Corner({r2 * c1, r2 * s1, z2}, u, v + dv, 100.0, n1);
            Corner({r2 * c2, r2 * s2, z2}, u + du, v + dv, 100.0, k == H ? Point3d{0, 0, 1} : n2);
            Corner({r1 * c2, r1 * s2, z1}, u + du, v, 100.0, n2);
            EndFace();
            phi1 = phi2;
            u = u + du;
        }
        z1 = z2;
        v = v + dv;
    }
}

// One polygon of growing angles, looking down -z.
void CreateCone::CreateConeCap() { Disc(ConRadius_, 0, SSegs_, false); }

// ---- torus

bool CreateTorus::Create(double TorRadius1, double TorRadius2, int32_t Ring_Segs, int32_t Side_Segs) {
    TorRadius1_ = TorRadius1;
    TorRadius2_ = TorRadius2;
    Ring_Segs_ = Ring_Segs;
    Side_Segs_ = Side_Segs;
    StartGroup("Torus");
    CreateTorusFaces();
    FinishGroup();
    return true;
}

// Ring step by ring step, tube step by tube step; a point's normal runs from the
// tube's centre circle to the point (length R2).
void CreateTorus::CreateTorusFaces() {
    const int32_t S = Ring_Segs_, T = Side_Segs_;
    const double R1 = TorRadius1_, R2 = TorRadius2_;
    const double dAlpha = kTwoPi / S, dBeta = kTwoPi / T, du = 1.0 / S, dv = 1.0 / T;
    auto surface = [&](double ca, double sa, double cb, double sb, Point3d& normal) -> Point3d {
        normal = {R2 * cb * ca, R2 * sb, R2 * cb * sa};
        return {(R1 + R2 * cb) * ca, R2 * sb, (R1 + R2 * cb) * sa};
    };
    double alpha1 = 0, u = 0;
    for (int32_t i = 1; i <= S; ++i) {
        const double alpha2 = alpha1 + dAlpha;
        const double ca1 = RoundedCos(alpha1), sa1 = RoundedSin(alpha1);
        const double ca2 = RoundedCos(alpha2), sa2 = RoundedSin(alpha2);
        double beta1 = 0, v = 0;
        for (int32_t j = 1; j <= T; ++j) {
            const double beta2 = beta1 + dBeta;
            const double cb1 = RoundedCos(beta1), sb1 = RoundedSin(beta1);
            const double cb2 = RoundedCos(beta2), sb2 = RoundedSin(beta2);
            Point3d n;
            BeginFace();
            Point3d q = surface(ca1, sa1, cb1, sb1, n);
            Corner(q, u, v, 100.0, n);
            q = surface(ca2, sa2, cb1, sb1, n);
            Corner(q, u + du, v, 100.0, n);
            q = surface(ca2, sa2, cb2, sb2, n);
            Corner(q, u + du, v + dv, 100.0, n);
            q = surface(ca1, sa1, cb2, sb2, n);
            Corner(q, u, v + dv, 100.0, n);
            EndFace();
            beta1 = beta2;
            v = v + dv;
        }
        alpha1 = alpha2;
        u = u + du;
    }
}

}  // namespace geometry
