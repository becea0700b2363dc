// The mouse pointers the windows show, by the names of their pictures ("Select",
// "Cross hair", "Move", ...), and the pointer kinds: 0 the default arrow, 11 the
// hourglass, 99 the named picture.
#pragma once

#include <string>

class QWidget;

namespace platform {

bool hasPointerPicture(const std::string& name);
// The name counts only for kind 99; an unknown name shows the arrow.
void setWidgetPointer(QWidget& widget, int kind, const std::string& name);

}  // namespace platform
