#include "mainwindow/KeyedTree.h"

#include "EditorFixture.h"
#include "platform/error_trap.h"

#include <QApplication>

using KeyedTreeTest = EditorFixture;

TEST_F(KeyedTreeTest, NodesAreFoundByKeyAndAMissingKeyIsAnError) {
    KeyedTree tree;
    tree.Add("", "CAMERA", "CAMERA", "Folder");
    tree.Add("CAMERA", KeyedTree::NodeKey("Camera", 12), "cam", "Camera");
    tree.Add("Camera12", KeyedTree::NodeKey("Track", 3), "trk", "Track");
    EXPECT_EQ(tree.Item("Camera12")->text(0), "cam");
    EXPECT_EQ(tree.Item("Camera12")->parent(), tree.Item("CAMERA"));
    EXPECT_EQ(tree.Keys(), (std::vector<std::string>{"CAMERA", "Camera12", "Track3"}));
    EXPECT_THROW(tree.Item("Camera13"), platform::EditorError);
    EXPECT_THROW(tree.Add("", "CAMERA", "again"), platform::EditorError);
    EXPECT_THROW(tree.Add("Nowhere", "Light1", "light"), platform::EditorError);
    // Removing a node takes its subtree and its keys.
    tree.Remove("Camera12");
    EXPECT_FALSE(tree.Exists("Track3"));
    EXPECT_EQ(tree.Count(), 1);
    tree.Clear();
    EXPECT_FALSE(tree.Exists("CAMERA"));
}

TEST_F(KeyedTreeTest, TheImageRecordsHiddenState) {
    Form1& f = StartEditor();
    const int32_t group = OpenSmallWorld();
    EXPECT_FALSE(f.IsGrpHidden(group));
    QTreeWidgetItem* node = f.trwGroupView->Item(KeyedTree::NodeKey("Group", group));
    f.trwGroupView->SetImage(node, "Group Invisible");
    EXPECT_TRUE(f.IsGrpHidden(group));
    EXPECT_EQ(KeyedTree::Image(node), "Group Invisible");
    // A group without a node is an error for the handler's trap, not a guess.
    EXPECT_THROW(f.IsGrpHidden(group + 1000), platform::EditorError);
}
