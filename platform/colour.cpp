#include "colour.h"

#include <QColor>

namespace platform {

QColor toQColor(int32_t c) { return QColor(redOf(c), greenOf(c), blueOf(c)); }

int32_t fromQColor(const QColor& c) { return rgb(c.red(), c.green(), c.blue()); }

}  // namespace platform
