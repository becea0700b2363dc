#include "shell.h"

#include "service_slot.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

#include <cctype>
#include <cstring>

namespace platform {
namespace {

bool isHex(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

bool keepsAsIs(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || std::strchr("-._~:/?&=@+,;!$'()*", c);
}

class DesktopShell : public Shell {
public:
    bool openDocument(const std::string& path) override {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
    }
    bool openLink(const std::string& link) override {
        return QDesktopServices::openUrl(QUrl::fromEncoded(QByteArray::fromStdString(encodeLink(link))));
    }
    bool startProgram(const std::string& program, const std::string& argument) override {
        return QProcess::startDetached(QString::fromStdString(program), {QString::fromStdString(argument)});
    }
};

std::unique_ptr<Shell> makeDefault() { return std::make_unique<DesktopShell>(); }

ServiceSlot<Shell> g_shell(&makeDefault);

}  // namespace

Shell& shell() { return g_shell.get(); }
Shell* installShell(Shell* s) { return g_shell.install(s); }

std::string encodeLink(const std::string& link) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (std::size_t i = 0; i < link.size(); ++i) {
        const char c = link[i];
        const bool escape = c == '%' && i + 2 < link.size() && isHex(link[i + 1]) && isHex(link[i + 2]);
        if (escape || keepsAsIs(c)) {
            out += c;
        } else {
            const auto byte = static_cast<unsigned char>(c);
            out += '%';
            out += hex[byte >> 4];
            out += hex[byte & 0xF];
        }
    }
    return out;
}

}  // namespace platform
