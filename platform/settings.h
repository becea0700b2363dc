// The per-user settings store: values by section and key under the program's
// title (QSettings, organisation and application "TALVORA").
#pragma once

#include <optional>
#include <string>

namespace platform {

std::string getSetting(const std::string& section, const std::string& key,
                       const std::string& defaultValue = "");
void saveSetting(const std::string& section, const std::string& key, const std::string& value);
// An empty key deletes the whole section.
void deleteSetting(const std::string& section, const std::string& key = "");

// A stored whole number; a missing or non-numeric value gives nothing.
std::optional<long> settingNumber(const std::string& section, const std::string& key);
inline long getSettingNumber(const std::string& section, const std::string& key, long defaultValue) {
    return settingNumber(section, key).value_or(defaultValue);
}

// Keeps the settings in this file instead of the user's store ("" = the user's
// store again). Tests point it into a temporary folder.
void setSettingsFile(const std::string& path);

}  // namespace platform
