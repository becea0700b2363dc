// The one fixture of the editor's tests: a temporary program folder holding the
// real engine, settings in a temporary file, every prompt scripted (an
// unexpected one fails the test), and the main window built on the offscreen
// platform. Tests start the editor, open an empty or small world, and drive it.
#pragma once

#include "mainwindow/Form1.h"
#include "platform/doubles/platform_doubles.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Worlds built in a test: a group under a father, and a flat polygon in the plane
// at height z through the corners, put into a group.
int32_t MakeGroup(const std::string& name, int32_t father);
int32_t MakePolygon(int32_t group, const std::vector<std::array<double, 2>>& corners, double z = 0);
// The group's polygons in its order, and the selected polygons in SelPols order.
std::vector<int32_t> PolygonsOf(int32_t group);
std::vector<int32_t> SelectedPolygons();

// A mouse button released over the node's row, as the tree's viewport gets it;
// with no node, over the empty space below the rows.
void ReleaseOverTree(KeyedTree& tree, QTreeWidgetItem* over, Qt::MouseButton button);

class EditorFixture : public ::testing::Test {
protected:
    EditorFixture();
    ~EditorFixture() override;

    // Builds the main window without running its load step.
    Form1& BuildEditor(const std::string& commandLine = "");
    // Builds the main window and runs its load step; the command line is the
    // program's whole argument text.
    Form1& StartEditor(const std::string& commandLine = "");
    // File > New without a template: an empty world.
    void OpenEmptyWorld();
    // A new world with one group "box" of two squares, 100 apart; returns the group.
    int32_t OpenSmallWorld();
    // Writes the small world to a file in the temporary folder and returns its
    // path; the engine holds no world afterwards.
    std::string SaveSmallWorldFile(const std::string& name);
    // File > Add World with the file chosen; returns the merged world's root group.
    int32_t AddWorldFromMenu(const std::string& path);

    // The pixel of the view at which the engine draws the world point.
    std::array<int32_t, 2> PixelOf(int view, double x, double y, double z = 0);
    // A press and release of the button (1 left, 2 right) at the pixel of the
    // view, with the virtual key held (0: none).
    void ClickView(int view, const std::array<int32_t, 2>& at, int key = 0, int button = 1);

    Form1& form() { return *form_; }
    const std::string& programFolder() const { return programFolder_; }
    // A path inside the temporary folder (not the program folder).
    std::string tempPath(const std::string& name) const;

    platform::doubles::PlatformDoubles platform_;

private:
    QTemporaryDir dir_;
    std::string programFolder_;
    std::unique_ptr<Form1> form_;
};
