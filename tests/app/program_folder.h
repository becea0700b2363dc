// A temporary program folder holding what a test puts beside the program.
#pragma once

#include <QTemporaryDir>

#include <string>

class ProgramFolder {
public:
    enum class Engine { None, TextFile, Incomplete, Complete };

    explicit ProgramFolder(Engine engine);
    // The folder with a trailing "/".
    std::string path() const;
    std::string enginePath() const;
    // Copies a file in, keeping its permissions (for the executable).
    std::string add(const std::string& source, const std::string& name) const;

private:
    QTemporaryDir dir_;
};
