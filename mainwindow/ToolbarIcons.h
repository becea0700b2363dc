// The main toolbar's pictures, drawn here so that every button fits the window's
// width as a small icon; the captions become the buttons' tool tips.
#pragma once

#include <QIcon>

#include <string>

// The picture of the toolbar button with this key ("Select", "Zoom Extents All",
// ...); a null icon for a key that has none.
QIcon ToolbarIcon(const std::string& key);
