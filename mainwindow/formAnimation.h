// The animation editor ("Animation 2D."): a new animation (mode 0) or an existing
// one (mode 1) as frames under five view directions, each frame with its time
// and transparent colour. Nothing reaches the engine before "&Ok"; "&Cancel"
// leaves everything as it was.
#pragma once

#include "textures/AnimationFrames.h"

#include <QDialog>

#include <cstdint>
#include <string>
#include <vector>

class KeyedTree;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMimeData;
class QPushButton;
class QTreeWidgetItem;

namespace platform {
class NumericField;
class UpDown;
}  // namespace platform
namespace textures {
class PicturePreview;
}

class formAnimation : public QDialog {
public:
    // textureTree: the main window's trwTextures, which "&Ok" keeps in step.
    formAnimation(int32_t CurrMode, int32_t Anim, KeyedTree& textureTree, QWidget* parent = nullptr);
    ~formAnimation() override;

    int32_t CurrMode;
    // The edited animation; in mode 0 "&Ok" stores the new one here.
    int32_t Anim;
    // The frames as edited so far.
    const textures::AnimationFrames& Frames() const { return frames_; }

    void Form_Load();
    void trwAnim_NodeClick(QTreeWidgetItem* Node);
    void trwAnim_MouseDown(int Button, int Shift, int x, int y);
    void trwAnim_OLEDragOver(const QMimeData* Data, int x, int y);
    void trwAnim_OLEDragDrop(const QMimeData* Data, int x, int y);
    void cmdInsert_Click();
    void InsertFrame(const std::string& path);
    void cmdRemove_Click();
    void txtFrmTime_Change();
    void txtFrmTime_LostFocus();
    void updwnFrmTime_Change();
    void cmdApplyFrmTimeAll_Click();
    void chkTransparent_Click();
    void cmdColor_Click();
    void cmdApplyTransClrToAll_Click();
    void cmdOk_Click();
    void cmdCancel_Click();

    // The node of a direction (1..5) and of a frame.
    QTreeWidgetItem* DirectionNode(int32_t direction) const;
    QTreeWidgetItem* FrameNode(int32_t frameId) const;
    // The frame a node shows, or 0 for a direction node and none.
    static int32_t FrameIdOf(const QTreeWidgetItem* Node);
    // The colour the colour button shows (0x00BBGGRR; button face when none).
    int32_t ColorButtonColour() const;

    QLabel* Label1;
    QLineEdit* txtAnimName;
    KeyedTree* trwAnim;
    QPushButton *cmdInsert, *cmdRemove;
    QGroupBox* frmImgOwner;
    textures::PicturePreview* Image1;
    QLabel* lblDim;
    QGroupBox* Frame1;
    QLabel* Label2;
    platform::NumericField* frmTimeField;
    QLineEdit* txtFrmTime;
    platform::UpDown* updwnFrmTime;
    QPushButton* cmdApplyFrmTimeAll;
    QGroupBox* Frame2;
    QCheckBox* chkTransparent;
    QPushButton *cmdColor, *cmdApplyTransClrToAll;
    QPushButton *cmdOk, *cmdCancel;

protected:
    void reject() override;
    // Both ways out: unloads what the editor loaded that nothing keeps.
    void done(int result) override;

private:
    textures::Frame* selectedFrame();
    // The tree's frame nodes made again from the frames, the selection kept.
    void showFrames();
    void setHighlight(const std::string& key, bool on);
    void EnableTransparencyControls(bool flag);
    void EnableFrameTimeControls(bool flag);
    void setColorButton(int32_t colour);

    KeyedTree& textureTree_;
    textures::AnimationFrames frames_;
    std::string HighlightedNode, DragSourceNode, DropTargetNode;  // node keys, "" for none
    int32_t colorButton_ = textures::ButtonFaceColour;
    std::vector<int32_t> bitmapsBefore_;  // loaded when the editor opened
};
