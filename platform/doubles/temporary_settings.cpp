#include "temporary_settings.h"

#include "platform/settings.h"

namespace platform::testing {

TemporarySettings::TemporarySettings()
    : file_(dir_.filePath("TALVORA.conf").toStdString()) {
    setSettingsFile(file_);
}

TemporarySettings::~TemporarySettings() { setSettingsFile(""); }

}  // namespace platform::testing
