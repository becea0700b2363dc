#include "undo_fixture.h"

#include "undo/UndoRedoCommands.h"

#include "core/SelectionCentres.h"
#include "core/TrackProcedures.h"

#include <cmath>
#include <functional>

namespace {

using Vec = std::array<double, 3>;

struct Scene {
    int32_t group = 0, group2 = 0, camera = 0, light = 0, track = 0;
};

class ObjectTransformActions : public UndoFixture {
protected:
    void SetUp() override {
        UndoFixture::SetUp();
        s.group = makeGroup("box", {10, 0, 0});
        s.group2 = makeGroup("other", {-4, 6, 2});
        s.camera = OMBREL_camera_create("cam");
        double camAt[3] = {3, -20, 5};
        OMBREL_camera_set_location1(s.camera, camAt);
        Globals::SceneCameras->Add(s.camera);
        double lightAt[3] = {-6, 4, 12};
        s.light = OMBREL_light_create("lamp", lightAt);
        Globals::SceneLights->Add(s.light);
        const double pts[] = {0, 0, 0, 10, 2, 0, 14, 9, 3, 4, 7, -2};
        s.track = OMBREL_track_create("path", 0, pts, 4);
    }

    void select(int32_t kind, int32_t handle) {
        Globals::CurrSelEntityType = kind;
        Globals::CurrSelEntityHandle = handle;
        if (kind == SelMultiple) {
            Globals::CurrMultiSel->Reset();
            Globals::CurrMultiSel->AddGrpHandles(s.group);
            Globals::CurrMultiSel->AddGrpHandles(s.group2);
            Globals::CurrMultiSel->AddCamHandles(s.camera);
            Globals::CurrMultiSel->AddLightHandles(s.light);
            Globals::ComputeSelObjsAvgCenter();
        }
        if (kind == SelTrack) Globals::GetTrackCenter(s.track, Globals::TrkCenter);
    }

    // Every position and direction the transforms can change.
    std::vector<double> snapshot() const {
        std::vector<double> v;
        auto add = [&](const double* p, int n) { v.insert(v.end(), p, p + n); };
        for (int32_t g : {s.group, s.group2}) {
            double loc[3], box[6], a[3], b[3], c[3];
            OMBREL_group_get_location(g, &loc[0], &loc[1], &loc[2]);
            OMBREL_group_get_bounding_box(g, box);
            OMBREL_group_calculate_axis_system(g, a, b, c);
            add(loc, 3), add(box, 6), add(a, 3), add(b, 3), add(c, 3);
            for (int32_t pol : polygonsOf(g))
                for (int32_t pt : pointsOf(pol)) {
                    double xyz[3];
                    OMBREL_point_get_xyz(pt, xyz);
                    add(xyz, 3);
                }
        }
        double cam[3], a1[3], a2[3], a3[3], light[3], dir[3];
        OMBREL_camera_get_location1(s.camera, cam);
        OMBREL_camera_get_axis_system(s.camera, a1, a2, a3);
        OMBREL_light_get_location(s.light, light);
        OMBREL_light_get_direction(s.light, dir);
        add(cam, 3), add(a1, 3), add(a2, 3), add(a3, 3), add(light, 3), add(dir, 3);
        for (int32_t m : {Globals::SceneCameras->GetCamGrp(s.camera), Globals::SceneLights->GetLightGrp(s.light)}) {
            double loc[3];
            OMBREL_group_get_location(m, &loc[0], &loc[1], &loc[2]);
            add(loc, 3);
        }
        for (int32_t i = 0; i < OMBREL_track_get_number_of_points(s.track); ++i) {
            double p[3];
            OMBREL_track_get_point(s.track, i, p);
            add(p, 3);
        }
        return v;
    }

    static double largestDifference(const std::vector<double>& a, const std::vector<double>& b) {
        if (a.size() != b.size()) return INFINITY;
        double d = 0;
        for (std::size_t i = 0; i < a.size(); ++i) d = std::max(d, std::fabs(a[i] - b[i]));
        return d;
    }

    Scene s;
};

Vec groupLocation(int32_t g) {
    Vec p;
    OMBREL_group_get_location(g, &p[0], &p[1], &p[2]);
    return p;
}
Vec cameraLocation(int32_t c) {
    Vec p;
    OMBREL_camera_get_location1(c, p.data());
    return p;
}
Vec lightLocation(int32_t l) {
    Vec p;
    OMBREL_light_get_location(l, p.data());
    return p;
}
Vec plus(Vec a, Vec d) { return {a[0] + d[0], a[1] + d[1], a[2] + d[2]}; }

const Vec kOffset = {5, -2, 3};
const std::pair<double, int32_t> kSteps[] = {{30, 0}, {45, 1}, {10, 2}};
const Vec kFactors = {2, -1, 0.5};  // a mirror on y

// The multiple selection turned the way the rotate tool turns it: groups about
// the centre through their pivot, lights and cameras carried around it.
void turnMultiple(const Scene& s, const Vec& c, double a, int32_t axis) {
    for (int32_t g : {s.group, s.group2}) {
        double pivot[3];
        OMBREL_group_get_rotate_reference_point(g, pivot);
        OMBREL_group_set_rotate_reference_point(g, c.data());
        OMBREL_group_rotate(g, a, 0, axis);
        OMBREL_group_set_rotate_reference_point(g, pivot);
    }
    Globals::SceneLights->Rotate(s.light, a, axis, true, c[0], c[1], c[2]);
    Globals::SceneCameras->Rotate(s.camera, a, axis, true, c[0], c[1], c[2]);
}

struct Case {
    const char* name;
    int32_t kind;
    // Performs the edit on the selection as the tools do and returns its record.
    std::function<std::unique_ptr<ActionUndoRedo>(const Scene&, int32_t handle)> edit;
};

std::unique_ptr<ActionUndoRedo> moveRecord(int32_t kind, int32_t handle, Vec from, Vec to) {
    auto r = std::make_unique<ActionUndoRedo>();
    r->ActionType = ActMove;
    r->SetActionObjects();
    r->Move->SetMovedEntity(kind, handle);
    r->Move->SetFrmLoc(from);
    r->Move->SetToLoc(to);
    return r;
}

std::unique_ptr<ActionUndoRedo> rotateRecord(int32_t kind, int32_t handle, const std::function<void(double, int32_t)>& turn,
                                             std::optional<Vec> centre = std::nullopt) {
    auto r = std::make_unique<ActionUndoRedo>();
    r->ActionType = ActRotate;
    r->SetActionObjects();
    r->Rotate->SetRotatedEntity(kind, handle);
    if (centre) r->Rotate->SetRotCenter(*centre);
    for (auto [a, axis] : kSteps) {
        turn(a, axis);
        r->Rotate->AddRotation(a, axis);
    }
    return r;
}

std::unique_ptr<ActionUndoRedo> scaleRecord(int32_t kind, int32_t handle) {
    auto r = std::make_unique<ActionUndoRedo>();
    r->ActionType = ActScale;
    r->SetActionObjects();
    r->ScaleObj->SetScaledEntity(kind, handle);
    r->ScaleObj->SetScaleChng(kFactors);
    return r;
}

const Case kCases[] = {
    {"move group", SelGroup,
     [](const Scene& s, int32_t) {
         Vec from = groupLocation(s.group), to = plus(from, kOffset);
         OMBREL_group_set_location(s.group, to.data());
         return moveRecord(SelGroup, s.group, from, to);
     }},
    {"move camera", SelCamera,
     [](const Scene& s, int32_t) {
         Vec from = cameraLocation(s.camera), to = plus(from, kOffset);
         Globals::SceneCameras->SetLocation(s.camera, to);
         return moveRecord(SelCamera, s.camera, from, to);
     }},
    {"move track", SelTrack,
     [](const Scene& s, int32_t) {
         Vec from;
         Globals::GetTrackCenter(s.track, from);
         Vec to = plus(from, kOffset);
         Globals::SetTrackLocation(s.track, to);
         return moveRecord(SelTrack, s.track, from, to);
     }},
    {"move light", SelLight,
     [](const Scene& s, int32_t) {
         Vec from = lightLocation(s.light), to = plus(from, kOffset);
         Globals::SceneLights->SetLocation(s.light, to);
         return moveRecord(SelLight, s.light, from, to);
     }},
    {"move multiple selection", SelMultiple,
     [](const Scene& s, int32_t) {
         Vec from = Globals::SelObjsAvgCenter, to = plus(from, kOffset);
         auto r = moveRecord(SelMultiple, 0, from, to);
         for (int32_t g : {s.group, s.group2}) OMBREL_group_set_location(g, plus(groupLocation(g), kOffset).data());
         Globals::SceneCameras->SetLocation(s.camera, plus(cameraLocation(s.camera), kOffset));
         Globals::SceneLights->SetLocation(s.light, plus(lightLocation(s.light), kOffset));
         Globals::SelObjsAvgCenter = to;
         return r;
     }},
    {"rotate group", SelGroup,
     [](const Scene& s, int32_t) {
         return rotateRecord(SelGroup, s.group, [&](double a, int32_t x) { OMBREL_group_rotate(s.group, a, 0, x); });
     }},
    {"rotate camera", SelCamera,
     [](const Scene& s, int32_t) {
         return rotateRecord(SelCamera, s.camera,
                             [&](double a, int32_t x) { Globals::SceneCameras->Rotate(s.camera, a, x, false, 0, 0, 0); });
     }},
    {"rotate track about its recorded centre", SelTrack,
     [](const Scene& s, int32_t) {
         auto r = rotateRecord(SelTrack, s.track, [&](double a, int32_t x) { Globals::RotateTrack(s.track, a, x); },
                               Globals::TrkCenter);
         Globals::TrkCenter = {100, 100, 100};  // whatever the track centre reads later
         return r;
     }},
    {"rotate light", SelLight,
     [](const Scene& s, int32_t) {
         return rotateRecord(SelLight, s.light,
                             [&](double a, int32_t x) { Globals::SceneLights->Rotate(s.light, a, x, false, 0, 0, 0); });
     }},
    {"rotate multiple selection about its recorded centre", SelMultiple,
     [](const Scene& s, int32_t) {
         const Vec c = Globals::SelObjsAvgCenter;
         auto r = rotateRecord(SelMultiple, 0, [&](double a, int32_t x) { turnMultiple(s, c, a, x); }, c);
         Globals::SelObjsAvgCenter = {-50, 0, 50};
         return r;
     }},
    {"scale group with a mirror", SelGroup,
     [](const Scene& s, int32_t) {
         OMBREL_group_scale(s.group, 0, kFactors[0], kFactors[1], kFactors[2]);
         return scaleRecord(SelGroup, s.group);
     }},
    {"scale track with a mirror", SelTrack,
     [](const Scene& s, int32_t) {
         auto r = scaleRecord(SelTrack, s.track);
         Globals::ScaleTrack(s.track, kFactors);
         Globals::TrkCenter = {100, 100, 100};
         return r;
     }},
    {"scale multiple selection about its recorded centre", SelMultiple,
     [](const Scene& s, int32_t) {
         auto r = scaleRecord(SelMultiple, 0);
         const Vec c = Globals::SelObjsAvgCenter;
         r->ScaleObj->SetScaleCenter(c);
         for (int32_t g : {s.group, s.group2}) {
             Vec p = groupLocation(g);
             for (int k = 0; k < 3; ++k) p[k] = c[k] + (p[k] - c[k]) * kFactors[k];
             OMBREL_group_set_location(g, p.data());
             OMBREL_group_scale(g, 0, kFactors[0], kFactors[1], kFactors[2]);
         }
         Globals::SelObjsAvgCenter = {-50, 0, 50};
         return r;
     }},
};

TEST_F(ObjectTransformActions, UndoAndRedoGiveBackTheEngineStateBeforeAndAfter) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const int32_t handle = c.kind == SelGroup    ? s.group
                               : c.kind == SelCamera ? s.camera
                               : c.kind == SelTrack  ? s.track
                               : c.kind == SelLight  ? s.light
                                                     : 0;
        select(c.kind, handle);
        const std::vector<double> before = snapshot();
        Globals::UndoRedoStack->Push(c.edit(s, handle));
        const std::vector<double> after = snapshot();
        ASSERT_GT(largestDifference(before, after), 1e-3) << "the edit changed nothing";

        for (int round = 0; round < 2; ++round) {
            undo::UndoCommand();
            EXPECT_LT(largestDifference(snapshot(), before), 1e-9) << "undo, round " << round;
            undo::RedoCommand();
            EXPECT_LT(largestDifference(snapshot(), after), 1e-9) << "redo, round " << round;
        }
        EXPECT_FALSE(window.waiting);
        undo::UndoCommand();  // the next case starts from the same scene
        Globals::UndoRedoStack->Reset();
    }
}

TEST_F(ObjectTransformActions, ScalingRecordedForACameraOrALightChangesNothing) {
    for (int32_t kind : {SelCamera, SelLight}) {
        select(kind, kind == SelCamera ? s.camera : s.light);
        const std::vector<double> before = snapshot();
        Globals::UndoRedoStack->Push(scaleRecord(kind, Globals::CurrSelEntityHandle));
        undo::UndoCommand();
        EXPECT_EQ(largestDifference(snapshot(), before), 0) << "kind " << kind;
        undo::RedoCommand();
        EXPECT_EQ(largestDifference(snapshot(), before), 0) << "kind " << kind;
    }
}

TEST_F(ObjectTransformActions, GroupRotationRefreshesTheSelectionBoxOnlyFromASelectedGroup) {
    // Undo of a group's rotation while a camera is selected must not read the
    // camera's handle as a group.
    select(SelGroup, s.group);
    Globals::SelGrpBndBox->Initialize(s.group2);
    Globals::UndoRedoStack->Push(
        rotateRecord(SelGroup, s.group, [&](double a, int32_t x) { OMBREL_group_rotate(s.group, a, 0, x); }));
    select(SelCamera, s.camera);
    OMBREL_ext_clear_last_error();
    undo::UndoCommand();
    EXPECT_EQ(Globals::SelGrpBndBox->Group(), s.group2);
    EXPECT_EQ(std::string(OMBREL_ext_get_last_error()), "");
    select(SelGroup, s.group2);
    Globals::SelGrpBndBox->Initialize(s.group);
    undo::RedoCommand();
    EXPECT_EQ(Globals::SelGrpBndBox->Group(), s.group2);
}

}  // namespace
