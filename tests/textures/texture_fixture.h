// The undo fixture plus the texture-coordinate editor: a group of squares with
// chosen texture coordinates, bitmaps written by the test, the editor's hooks
// and helpers that drive PicMain as the mouse and the keyboard would (the cursor
// double follows every press and move).
#pragma once

#include "undo_fixture.h"

#include "bmp_writer.h"

#include "textures/TexturePicture.h"
#include "textures/frmTextureMapping.h"

#include "core/CoreTypes.h"
#include "core/WindowHooks.h"
#include "platform/doubles/test_application.h"
#include "platform/key_state.h"
#include "platform/virtual_keys.h"

#include <QApplication>

#include <array>
#include <cmath>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using UV = std::array<double, 2>;

class TextureFixture : public UndoFixture {
protected:
    void SetUp() override {
        platform::doubles::testApplication();
        UndoFixture::SetUp();
        frmTextureMapping::ConnectHooks(core::windowHooks());
        auto& h = core::windowHooks();
        h.updateCameras = [this] { window.calls.push_back("UpdateCameras"); };
    }

    void TearDown() override {
        delete frmTextureMapping::Instance();
        platform::clearKeyState();
        UndoFixture::TearDown();
    }

    // A bitmap of one colour written to the test's folder and loaded.
    int32_t bitmap(const std::string& name, int width, int height, TestRgb colour = {0, 0, 200}) {
        const auto path = folder_.path() / (name + ".bmp");
        writeBmp24(path, width, height, std::vector<TestRgb>(static_cast<std::size_t>(width * height), colour));
        const int32_t b = OMBREL_bitmap_load(path.c_str(), -1);
        EXPECT_NE(b, 0) << name;
        return b;
    }

    // A polygon of the group with these positions and texture coordinates.
    static int32_t polygon(int32_t group, const std::vector<std::array<double, 3>>& xyz, const std::vector<UV>& uv,
                           int32_t bitmap = 0) {
        const int32_t p = OMBREL_polygon_create();
        for (std::size_t i = 0; i < xyz.size(); ++i) {
            const double rec[6] = {xyz[i][0], xyz[i][1], xyz[i][2], uv[i][0], uv[i][1], 100};
            OMBREL_polygon_add_point(p, rec);
        }
        OMBREL_polygon_set_group(p, group);
        OMBREL_engine_add_polygon(p);
        if (bitmap) OMBREL_polygon_set_bitmap_fill(p, bitmap);
        return p;
    }

    // A unit square in z = 0 at (x, y) whose coordinates span [u0, u1] x [v0, v1].
    static int32_t quad(int32_t group, double x, double y, UV from, UV to, int32_t bitmap = 0) {
        return polygon(group, {{x, y, 0}, {x + 1, y, 0}, {x + 1, y + 1, 0}, {x, y + 1, 0}},
                       {{from[0], from[1]}, {to[0], from[1]}, {to[0], to[1]}, {from[0], to[1]}}, bitmap);
    }

    static int32_t newGroup(const char* name) {
        const int32_t g = OMBREL_group_create(name);
        OMBREL_group_set_father_group(g, Globals::RootGrp);
        return g;
    }

    static void selectGroup(int32_t group) {
        Globals::CurrSelEntityType = SelGroup;
        Globals::CurrSelEntityHandle = group;
    }

    static void selectPolygons(const std::vector<int32_t>& pols) {
        Globals::NumSelPols = static_cast<int32_t>(pols.size());
        for (std::size_t i = 0; i < pols.size(); ++i) Globals::SelPols[static_cast<int32_t>(i + 1)] = pols[i];
    }

    static UV uvOf(int32_t point) {
        UV uv = {0, 0};
        OMBREL_point_get_bitmap_xy(point, uv.data());
        return uv;
    }

    static void setUV(int32_t point, int32_t polygon, UV uv) { OMBREL_point_set_bitmap_xy(point, polygon, uv.data()); }

    // Opens the editor (PicMain about 400 x 300) and lets it settle.
    frmTextureMapping& open() {
        frmTextureMapping& e = frmTextureMapping::ShowEditor(nullptr);
        e.resize(420, 400);
        settle();
        return e;
    }

    static void settle() {
        for (int i = 0; i < 3; ++i) QApplication::processEvents();
    }

    frmTextureMapping& editor() { return *frmTextureMapping::Instance(); }

    // PicMain's pixel of a texture coordinate.
    std::pair<double, double> pixelOf(UV uv) { return {editor().PixelX(uv[0]), editor().PixelY(uv[1])}; }

    // The pointer double at a pixel of PicMain.
    void pointAt(double x, double y) {
        const QPoint corner = editor().PicMain->mapToGlobal(QPoint(0, 0));
        platform_.cursor.follow(
            {corner.x() + static_cast<int>(std::lround(x)), corner.y() + static_cast<int>(std::lround(y))});
    }

    void hover(double x, double y) {
        pointAt(x, y);
        editor().PicMain_MouseMove(0, 0, static_cast<float>(x), static_cast<float>(y));
    }
    void press(double x, double y) {
        pointAt(x, y);
        platform::noteKeyDown(platform::vk::LButton);
        editor().PicMain_MouseDown(1, 0, static_cast<float>(x), static_cast<float>(y));
    }
    void dragTo(double x, double y) {
        pointAt(x, y);
        editor().PicMain_MouseMove(1, 0, static_cast<float>(x), static_cast<float>(y));
    }
    void release(double x, double y) {
        pointAt(x, y);
        platform::noteKeyUp(platform::vk::LButton);
        editor().PicMain_MouseUp(1, 0, static_cast<float>(x), static_cast<float>(y));
    }
    // A rubber band with the select tool from one pixel to another, key held.
    void band(std::pair<double, double> from, std::pair<double, double> to, int key = 0) {
        if (key) platform::setKeyHeld(key, true);
        press(from.first, from.second);
        dragTo((from.first + to.first) / 2, (from.second + to.second) / 2);
        dragTo(to.first, to.second);
        release(to.first, to.second);
        if (key) platform::setKeyHeld(key, false);
    }

    // The pixel's colour in PicMain's buffer as 0xRRGGBB.
    uint32_t pixel(int x, int y) { return editor().PicMain->buffer().pixel(x, y) & 0xFFFFFFu; }

    static std::vector<int32_t> listPoints(const TexCoordList& list) {
        return {list.Pts.begin() + 1, list.Pts.begin() + 1 + list.Count};
    }
    static std::vector<int32_t> listOwners(const TexCoordList& list) {
        return {list.OwnerPols.begin() + 1, list.OwnerPols.begin() + 1 + list.Count};
    }

    // Moves one coordinate as one record on the history.
    static void pushChange(int32_t pt, int32_t pol, UV to) {
        auto r = std::make_unique<ActionUndoRedo>();
        r->ActionType = ActChngTextureCoords;
        r->SetActionObjects();
        r->ChngTextureCoords->SetPtsChangedToGiven(std::vector<int32_t>{0, pt}, std::vector<int32_t>{0, pol}, 1);
        r->ChngTextureCoords->ExtractIniCoordsLoc();
        setUV(pt, pol, to);
        r->ChngTextureCoords->ExtractFnlCoordsLoc();
        Globals::UndoRedoStack->Push(std::move(r));
    }

    // The record Undo would take next: a new one after every push.
    static ActionUndoRedo* newest() { return Globals::UndoRedoStack->Retrive(); }

    TempFolder folder_;
};
