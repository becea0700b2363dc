#include "transform_fixture.h"

#include "transform/AlignMode.h"
#include "transform/formAlign.h"

#include "undo/UndoRedoCommands.h"

#include "core/SelectionCentres.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

#include <functional>

namespace {

class Align : public TransformFixture {
protected:
    void SetUp() override {
        TransformFixture::SetUp();
        source = makeGroup("source", {0, 0, 0});
        const double pivot[3] = {2, 1, 0};
        OMBREL_group_set_rotate_reference_point(source, pivot);
        target = makeGroup("target", {100, 40, 20});
        other = makeGroup("other", {-20, -10, 5});
        cam = OMBREL_camera_create("cam");
        const double camAt[3] = {7, -3, 2};
        OMBREL_camera_set_location1(cam, camAt);
        Globals::SceneCameras->Add(cam);
        auto& t = transform::transformHooks();
        t.worldLoaded = [] { return true; };
        t.alignButtonDown = [this] { return alignDown; };
        t.setAlignButtonDown = [this](bool d) { alignDown = d; };
        t.picWinSetMousePtr = [this](const std::string& k) { pointer = k; };
        t.pickEntityAt = [this](int32_t, int32_t) {
            Globals::PickedEntityType = SelGroup;
            Globals::PickedEntityHandle = target;
        };
        Globals::CurrSelEntityType = SelGroup;
        Globals::CurrSelEntityHandle = source;
        Globals::SelGrpBndBox->Initialize(source);
        alignDown = true;
    }

    static Box6d box(int32_t g) {
        Box6d b;
        OMBREL_group_get_bounding_box(g, b.data());
        return b;
    }

    void selectMultiple() {
        Globals::CurrSelEntityType = SelMultiple;
        Globals::CurrMultiSel->AddGrpHandles(source);
        Globals::CurrMultiSel->AddGrpHandles(other);
        Globals::CurrMultiSel->AddCamHandles(cam);
        Globals::ComputeSelObjsAvgCenter();
    }

    // Picks the target in a view and works the dialog.
    void align(const std::function<void(formAlign&)>& work) {
        platform_.prompts.answerWindow<formAlign>([&](formAlign& d) { work(d); });
        transform::PickAlignTarget(1, 100, 100);
    }

    static void choose(formAlign& d, int axis, int sourceOption, int targetOption) {
        d.opnCurrObj[static_cast<std::size_t>(sourceOption)]->click();
        d.opnTargetObj[static_cast<std::size_t>(targetOption)]->click();
        d.chkCoordinate[static_cast<std::size_t>(axis)]->click();
    }

    int32_t source = 0, target = 0, other = 0, cam = 0;
    bool alignDown = false;
    std::string pointer;
};

TEST_F(Align, EachSourceAndTargetOptionPlacesTheGroupOnEveryAxis) {
    const Box6d s = box(source), t = box(target);
    const Point3d start = location(source);
    Point3d targetLoc = location(target), targetPivot, sourcePivot;
    OMBREL_group_get_rotate_reference_point(target, targetPivot.data());
    OMBREL_group_get_rotate_reference_point(source, sourcePivot.data());
    for (std::size_t a = 0; a < 3; ++a) {
        const double half = (s[a + 3] - s[a]) / 2;
        const double targets[] = {t[a], targetLoc[a], targetPivot[a], t[a + 3]};
        for (int so = 0; so < 4; ++so)
            for (int to = 0; to < 4; ++to) {
                SCOPED_TRACE(std::to_string(a) + " " + std::to_string(so) + " " + std::to_string(to));
                const double T = targets[to];
                const double expected[] = {T + half, T, T - (sourcePivot[a] - start[a]), T - half};
                align([&](formAlign& d) {
                    choose(d, static_cast<int>(a), so, to);
                    const Point3d loc = location(source);
                    for (std::size_t k = 0; k < 3; ++k) EXPECT_NEAR(loc[k], k == a ? expected[so] : start[k], 1e-9);
                    d.cmdCancel->click();
                });
                EXPECT_EQ(location(source), start);
            }
    }
}

TEST_F(Align, OkRecordsOneAlignmentThatUndoAndRedoReplay) {
    const Point3d start = location(source);
    align([&](formAlign& d) {
        choose(d, 0, formAlign::Center, formAlign::Center);
        d.chkCoordinate[1]->click();
        d.chkCoordinate[1]->click();  // ticked and unticked: y stays
        d.cmdOk->click();
    });
    EXPECT_EQ(records(), 1);
    EXPECT_EQ(Globals::UndoRedoStack->Retrive()->ActionType, ActAlign);
    const Point3d aligned = location(source);
    EXPECT_NEAR(aligned[0], location(target)[0], 1e-9);
    EXPECT_EQ(aligned[1], start[1]);
    undo::UndoCommand();
    EXPECT_EQ(location(source), start);
    undo::RedoCommand();
    EXPECT_EQ(location(source), aligned);
}

// Undo and Redo of an alignment write back the very numbers found and left:
// the world saved before (A), after (B), after Undo and after Redo give A, B.
TEST_F(Align, UndoAndRedoGiveBackTheSavedWorldsByteForByte) {
    OMBREL_group_rotate(source, 33.3, 0, 2);  // points off the grid of whole numbers
    Globals::SelGrpBndBox->Initialize(source);
    for (bool multiple : {false, true}) {
        SCOPED_TRACE(multiple ? "multiple selection" : "group");
        Globals::UndoRedoStack->Reset();
        if (multiple) selectMultiple();
        const std::string a = saved();
        align([&](formAlign& d) {
            choose(d, 0, formAlign::Center, formAlign::Maximum);
            choose(d, 2, formAlign::Minimum, formAlign::PivotPoint);
            d.cmdOk->click();
        });
        ASSERT_EQ(records(), 1);
        const std::string b = saved();
        EXPECT_TRUE(b != a);
        undo::UndoCommand();
        EXPECT_TRUE(saved() == a) << "Undo gives back the world before";
        undo::RedoCommand();
        EXPECT_TRUE(saved() == b) << "Redo gives back the world after";
        undo::UndoCommand();
    }
}

// A turned group's location is the middle of its own box, not of its world box:
// the aligned side of the world box still lands on the target's.
TEST_F(Align, ATurnedGroupLinesUpItsWorldBox) {
    OMBREL_group_rotate(source, 27, 0, 2);
    OMBREL_group_rotate(source, 40, 0, 0);
    Globals::SelGrpBndBox->Initialize(source);
    const Point3d start = location(source);
    for (int option : {formAlign::Minimum, formAlign::Maximum}) {
        SCOPED_TRACE(option);
        align([&](formAlign& d) {
            for (int axis = 0; axis < 3; ++axis) choose(d, axis, option, option);
            const Box6d b = box(source), t = box(target);
            for (std::size_t k = 0; k < 3; ++k) {
                const std::size_t side = option == formAlign::Minimum ? k : k + 3;
                EXPECT_NEAR(b[side], t[side], 1e-9) << k;
            }
            d.cmdCancel->click();
        });
        for (std::size_t k = 0; k < 3; ++k) EXPECT_NEAR(location(source)[k], start[k], 1e-9);
    }
}

TEST_F(Align, AMultipleSelectionAlignsEachMemberAndCancelPutsAllBack) {
    selectMultiple();
    // The marker sits away from its camera: the start is the camera's own location.
    const double away[3] = {50, 50, 50};
    OMBREL_group_set_location(Globals::SceneCameras->GetCamGrp(cam), away);
    double camStart[3];
    OMBREL_camera_get_location1(cam, camStart);
    const Point3d s1 = location(source), s2 = location(other);
    align([&](formAlign& d) {
        choose(d, 1, formAlign::Minimum, formAlign::Minimum);
        EXPECT_NEAR(box(source)[1], box(target)[1], 1e-9);
        EXPECT_NEAR(box(other)[1], box(target)[1], 1e-9);
        EXPECT_EQ(location(other)[0], s2[0]);
        d.cmdCancel->click();
    });
    EXPECT_EQ(location(source), s1);
    EXPECT_EQ(location(other), s2);
    double camNow[3];
    OMBREL_camera_get_location1(cam, camNow);
    EXPECT_EQ(std::vector<double>(camNow, camNow + 3), std::vector<double>(camStart, camStart + 3));
    EXPECT_EQ(records(), 0);

    align([&](formAlign& d) {
        choose(d, 2, formAlign::Maximum, formAlign::Maximum);
        d.cmdOk->click();
    });
    const Point3d a1 = location(source), a2 = location(other);
    undo::UndoCommand();
    EXPECT_EQ(location(source), s1);
    EXPECT_EQ(location(other), s2);
    EXPECT_EQ(Globals::CurrMultiSel->NumOfGrps(), 2);
    undo::RedoCommand();
    EXPECT_EQ(location(source), a1);
    EXPECT_EQ(location(other), a2);
}

TEST_F(Align, AlignModeNeedsASourceAndKeepsPressesFromTheHandle) {
    Globals::CurrSelEntityType = SelNone;
    platform_.prompts.answer(platform::MsgResult::OK);
    transform::EnterAlignMode();
    ASSERT_EQ(platform_.prompts.shown().size(), 1u);
    EXPECT_EQ(platform_.prompts.shown()[0].text, "Please select a source object first.");
    EXPECT_EQ(platform_.prompts.shown()[0].title, "TALVORA");
    EXPECT_FALSE(alignDown);

    Globals::CurrSelEntityType = SelGroup;
    alignDown = true;
    transform::EnterAlignMode();
    EXPECT_EQ(pointer, "Align Mode");
    transform::SetAlignModeMousePtr(0, 10, 10);
    EXPECT_EQ(pointer, "Align Target");
    transform::PickAlignTarget(2, 10, 10);  // the right button opens nothing

    // A press on the handle in align mode starts no move record.
    drawHandle();
    const PixelPt at = onAxis(0, 0.6);
    moveMouse(0, at);
    platform::setKeyHeld(platform::vk::LButton, true);
    gizmo->MouseDown(1, static_cast<float>(at[0]), static_cast<float>(at[1]));
    gizmo->MouseUp(1, static_cast<float>(at[0]), static_cast<float>(at[1]));
    EXPECT_EQ(records(), 0);
}

}  // namespace
