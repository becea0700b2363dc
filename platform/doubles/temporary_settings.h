// The settings store in a temporary file while it lives.
#pragma once

#include <QTemporaryDir>

#include <string>

namespace platform::testing {

class TemporarySettings {
public:
    TemporarySettings();
    ~TemporarySettings();
    TemporarySettings(const TemporarySettings&) = delete;
    TemporarySettings& operator=(const TemporarySettings&) = delete;

    const std::string& file() const { return file_; }

private:
    QTemporaryDir dir_;
    std::string file_;
};

}  // namespace platform::testing
