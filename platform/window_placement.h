// Where the program's own windows open: wholly inside the available part of the
// screen the main window is on, beside the main window where there is room, else
// over its views, never over the workspace panel while the views leave room.
// Includes Qt headers (QRect), as input_filter.h does.
#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

class QBoxLayout;
class QWidget;

namespace platform {

struct WindowRoom {
    QRect screen;  // the available geometry of the main window's screen
    QRect owner;   // the main window's frame
    QRect views;   // the main window's views, on the screen
};

// The frame a window gets: its wanted frame size cut to the room (never below its
// least frame size), at the first place that holds it: right of the main window,
// left of it, then centred on the views as far as the room from their left edge
// to the screen's right edge allows; a frame wider than that room keeps to the
// screen's right edge. A remembered frame that lies wholly on the screen is kept
// as it is.
QRect PlaceFrame(const QSize& wanted, const QSize& least, const WindowRoom& room, const QRect* remembered = nullptr);

// Places the window, before it shows, by PlaceFrame with the main window's room;
// the frame's margins are the window's own once shown, else the main window's.
// A window given StackWhereNarrow is placed with its parts side by side where
// that frame keeps its wanted width beside the panel, else one above the other.
void PlaceOnScreen(QWidget& window);

// The parts (the layout's widgets) of the window may stand one above the other
// where the room is narrow; the layout is the window's own.
void StackWhereNarrow(QWidget& window, QBoxLayout& parts);

// The main window's start on the screen it opens on: at the wanted client size
// where its frame fits the available part of that screen, else maximised, so the
// window manager keeps its title bar, buttons and status bar on the screen.
// Before its first showing the frame is a title bar's height and a thin border.
void StartOnScreen(QWidget& mainWindow, const QSize& wanted);

// From now on every window the program shows (dialogs, tool windows, message
// boxes, file and colour dialogs) is placed by PlaceOnScreen just before it
// appears; menus, tool tips and the main window itself are left alone. A later
// call replaces the main window and its views.
void PlaceWindowsOnShow(QWidget& mainWindow, QWidget& views);

}  // namespace platform
