#include "program_folder.h"

#include <QFile>

#include <fstream>
#include <stdexcept>

ProgramFolder::ProgramFolder(Engine engine) {
    if (!dir_.isValid()) throw std::runtime_error("no temporary folder");
    switch (engine) {
    case Engine::None: break;
    case Engine::TextFile: std::ofstream(enginePath()) << "This is not a shared library.\n"; break;
    case Engine::Incomplete: add(FAKE_ENGINE_INCOMPLETE, "libombrel3.so"); break;
    case Engine::Complete: add(FAKE_ENGINE_COMPLETE, "libombrel3.so"); break;
    }
}

std::string ProgramFolder::path() const { return dir_.path().toStdString() + "/"; }

std::string ProgramFolder::enginePath() const { return path() + "libombrel3.so"; }

std::string ProgramFolder::add(const std::string& source, const std::string& name) const {
    const std::string target = path() + name;
    if (!QFile::copy(QString::fromStdString(source), QString::fromStdString(target)))
        throw std::runtime_error("cannot copy " + source);
    QFile::setPermissions(QString::fromStdString(target), QFile::permissions(QString::fromStdString(source)));
    return target;
}
