// The texture-coordinate editor "Texture Map Editor.": a non-modal window owned by
// the main window that shows one bitmap of the selected group with the outlines
// of its polygons drawn at their texture coordinates. The user pans, zooms,
// selects coordinates with a rubber band and moves, rotates, scales or mirrors
// them; every change and every selection is undoable. The rest of the editor
// reaches it through the texture-mapping hooks of core/WindowHooks.h.
#pragma once

#include "platform/cursor.h"
#include "platform/device_context.h"

#include <QWidget>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class ActionUndoRedo;
namespace core {
struct WindowHooks;
}
class TexturePicture;
class QAction;
class QComboBox;
class QToolBar;

// One list of selected texture coordinates: points with the polygons they are
// written through, used from index 1. It grows as needed.
struct TexCoordList {
    std::vector<int32_t> Pts{0};
    std::vector<int32_t> OwnerPols{0};
    int32_t Count = 0;

    void Clear();
    void Append(int32_t point, int32_t owner);
    void Assign(const int32_t* pts, const int32_t* owners, int32_t count);
    bool SameAs(const TexCoordList& other) const;
};

class frmTextureMapping : public QWidget {
public:
    // TexToolMode values (5 is not used).
    enum Tool : int32_t { TexSelect = 0, TexMove = 1, TexRotate = 2, TexScale = 3, TexPan = 4, TexZoom = 6 };

    explicit frmTextureMapping(QWidget* owner);
    ~frmTextureMapping() override;

    // The editor's window, or null before it was first opened.
    static frmTextureMapping* Instance();
    // The texture Edit command: shows the editor non-modally over owner, creating
    // and loading it as needed; a minimised editor is restored instead. Never a
    // second window.
    static frmTextureMapping& ShowEditor(QWidget* owner);
    // Closes the editor when it is loaded (the world is closed).
    static void UnloadEditor();
    // Points the texture-mapping hooks at the editor; while it is not loaded they
    // answer as for a closed editor (not loaded, nothing changed).
    static void ConnectHooks(core::WindowHooks& hooks);

    // ---- public operations
    bool Loaded = false;
    void picMainSetMousePtr(const std::string& MousePtr);
    void SetToolMode(int32_t mode);
    // Recomputes the texture's place for the zoom and repaints: the redraw entry.
    void SetupWithNewZoom();
    // Both selection lists emptied; no repaint.
    void ResetSelections();
    // Lists used from index 1; no repaint.
    void SetSelPts_And_OwnerPols(const int32_t* Pts, const int32_t* OwnerPols, int32_t count);
    void SetSelPtsPartOfSelPols_And_OwnerPols(const int32_t* Pts, const int32_t* OwnerPols, int32_t count);

    // ---- handlers (the connections run each inside the error trap)
    void Form_Load();
    void Form_Unload();
    // PicMain's size changed.
    void Form_Resize();
    // Reads the keys' live state; the key itself is not looked at.
    void Form_KeyDown();
    void cmbTextures_Change();
    void tbrTextureMapping_ButtonClick(const std::string& key);
    void tbrBottom_ButtonClick(const std::string& key);
    void PicMain_MouseDown(int Button, int Shift, float X, float Y);
    void PicMain_MouseMove(int Button, int Shift, float X, float Y);
    void PicMain_MouseUp(int Button, int Shift, float X, float Y);
    // Draws the texture, the outlines and the selected coordinates.
    void PicMain_Paint();

    // ---- the view: texture space (u, v) and PicMain's pixels
    double PixelX(double u) const { return OriginX + PanPixX + DispWidth * u; }
    double PixelY(double v) const { return OriginY + PanPixY + DispHeight * v; }
    double TexU(double x) const { return (x - PanPixX - OriginX) / DispWidth; }
    double TexV(double y) const { return (y - PanPixY - OriginY) / DispHeight; }
    void TexZoomExtent();
    void TexPanDrag(float X, float Y);
    void TexZoomDrag(float X, float Y);

    // ---- selection and transforms
    bool SelectedOnly() const;
    bool TextureOn() const;
    // The "Selected Only" list while that button is down, else the main list.
    const TexCoordList& ListInUse() const;
    bool CursorOverSelCoord() const;
    // The band from the press to the release point: replaces, adds (Ctrl) or
    // removes (Shift) and records the change of the list in use.
    void SelectCoordsInRubberBand();
    void MirrorSelCoords();

    int32_t TexToolMode = TexSelect;
    int32_t TexWidth = 256, TexHeight = 256;
    double TexAspect = 1.0;
    int32_t TexPicture = 0;
    double BaseScale = 1.0;
    double Zoom = 1.0;
    int32_t DispWidth = 0, DispHeight = 0;
    int32_t OriginX = 0, OriginY = 0;
    double PanX = 0, PanY = 0;
    int32_t PanPixX = 0, PanPixY = 0;
    int32_t PrevPicWidth = 0, PrevPicHeight = 0;
    int32_t MouseDownX = 0, MouseDownY = 0, MouseUpX = 0, MouseUpY = 0;
    float LastMouseX = 0, LastMouseY = 0;
    TexCoordList TexSel;      // the main list: TexSelPts, TexSelPtsOwnerPols, NumTexSelPts
    TexCoordList TexSelOnly;  // "Selected Only": TexSelOnlyPts, TexSelOnlyOwnerPols, NumTexSelOnlyPts
    bool DragOverSel = false;
    platform::ScreenPoint LastCursorPos;
    double CursorDeltaX = 0, CursorDeltaY = 0;

    // ---- controls
    QToolBar* tbrTextureMapping;
    QComboBox* cmbTextures;
    TexturePicture* PicMain;
    QWidget* picBtmTbrContainer;
    QToolBar* tbrBottom;
    // A button of either toolbar by its key ("Select", "Zoom Extent", "Selected Only", ...).
    QAction* Button(const std::string& key) const;
    // The bitmap named by the combo's text, 0 when it is empty.
    int32_t ComboBitmap() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void connectControls();
    // The tool becomes current, by the toolbar or the keyboard.
    void enterTool(int32_t mode);
    // ---- view
    void FillTexturesCombo();
    void LoadTexturePicture(int32_t bitmap);
    void GetTextureSize(int32_t bitmap);
    void FitTextureToPicture();
    void CentreTexture();
    // ---- drawing
    void DrawTexture();
    void DrawPolygonOutlines();
    void DrawSelCoords();
    void DrawRubberBand(int32_t colour, float X, float Y);
    // ---- selection
    void SelectToolMouseMove(int Button, float X, float Y);
    void TransformToolMouseMove(int Button, float X, float Y);
    void SelectCoordsInRect(double left, double top, double right, double bottom);
    void AddCoordsInRect(double left, double top, double right, double bottom);
    void RemoveCoordsInRect(double left, double top, double right, double bottom);
    void BuildSelOnlyList();
    // ---- transforms
    void StartDragRecord();
    void EndDrag();
    std::unique_ptr<ActionUndoRedo> NewCoordsRecord() const;
    void MeasureCursorMotion();
    void MoveSelCoords();
    void RotateSelCoords();
    void ScaleSelCoords();
    void AfterTransformStep();

    std::map<std::string, QAction*> buttons_;
    std::unique_ptr<ActionUndoRedo> DragRecord;
    QObject* keyPreview_ = nullptr;
    // The pens of PicMain's drawing.
    platform::GdiObject penFrame_ = 0, penOutline_ = 0;
};
