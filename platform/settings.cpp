#include "settings.h"

#include "prompts.h"

#include <QSettings>

#include <charconv>
#include <memory>

namespace platform {
namespace {

std::string g_file;

std::unique_ptr<QSettings> open() {
    if (!g_file.empty())
        return std::make_unique<QSettings>(QString::fromStdString(g_file), QSettings::IniFormat);
    return std::make_unique<QSettings>(kAppTitle, kAppTitle);
}

QString keyOf(const std::string& section, const std::string& key) {
    return QString::fromStdString(section) + '/' + QString::fromStdString(key);
}

}  // namespace

std::string getSetting(const std::string& section, const std::string& key,
                       const std::string& defaultValue) {
    const QVariant v = open()->value(keyOf(section, key));
    if (!v.isValid()) return defaultValue;
    return v.toString().toStdString();
}

void saveSetting(const std::string& section, const std::string& key, const std::string& value) {
    open()->setValue(keyOf(section, key), QString::fromStdString(value));
}

void deleteSetting(const std::string& section, const std::string& key) {
    if (key.empty())
        open()->remove(QString::fromStdString(section));
    else
        open()->remove(keyOf(section, key));
}

std::optional<long> settingNumber(const std::string& section, const std::string& key) {
    const QVariant v = open()->value(keyOf(section, key));
    if (!v.isValid()) return std::nullopt;
    const std::string text = v.toString().trimmed().toStdString();
    long n = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, n);
    if (ec != std::errc() || ptr != end || text.empty()) return std::nullopt;
    return n;
}

void setSettingsFile(const std::string& path) { g_file = path; }

}  // namespace platform
