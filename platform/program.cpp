#include "program.h"

#include "files.h"

#include <QCoreApplication>
#include <QStringList>

namespace platform {
namespace {

std::string g_folder;

}  // namespace

std::string programFolder() {
    if (!g_folder.empty()) return g_folder;
    return withTrailingSlash(QCoreApplication::applicationDirPath().toStdString());
}

void setProgramFolder(const std::string& folder) {
    g_folder = folder.empty() ? std::string() : withTrailingSlash(folder);
}

std::string commandLine() {
    std::vector<std::string> arguments;
    const QStringList all = QCoreApplication::arguments();
    for (qsizetype i = 1; i < all.size(); ++i) arguments.push_back(all[i].toStdString());
    return joinArguments(arguments);
}

std::string joinArguments(const std::vector<std::string>& arguments) {
    std::string line;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (i > 0) line += ' ';
        line += arguments[i];
    }
    return line;
}

std::string commandLineFile(const std::string& commandLine) {
    const auto first = commandLine.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    std::string file = commandLine.substr(first, commandLine.find_last_not_of(' ') - first + 1);
    if (!file.empty() && file.front() == '"') file.erase(0, 1);
    if (!file.empty() && file.back() == '"') file.pop_back();
    return file;
}

}  // namespace platform
