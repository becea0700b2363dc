// The Edit menu's Undo and Redo commands. The main window's mnuUndo_Click and
// mnuRedo_Click call these (so does the texture-coordinate editor on Ctrl+Z and
// Ctrl+A); each takes its record from UndoRedoStack, shows the wait state while
// the action runs, redraws the views and traps its errors.
#pragma once

class QWidget;

namespace undo {

// owner: the window the error window is shown over.
void UndoCommand(QWidget* owner = nullptr);
void RedoCommand(QWidget* owner = nullptr);

}  // namespace undo
