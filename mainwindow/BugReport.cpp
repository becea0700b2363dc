#include "BugReport.h"

#include <cctype>

namespace BugReport {
namespace {

bool unreserved(unsigned char c) { return std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~'; }

void appendEscape(std::string& out, unsigned char c) {
    static const char* hex = "0123456789ABCDEF";
    out += '%';
    out += hex[c >> 4];
    out += hex[c & 0xF];
}

}  // namespace

std::string EncodeComponent(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;  // the line feed writes the break
        if (c == '\n')
            out += "%0D%0A";
        else if (unreserved(c))
            out += static_cast<char>(c);
        else
            appendEscape(out, c);
    }
    return out;
}

std::string Body(const std::string& description, const std::string& events) {
    return "Error Description: " + description + "\n\n\nEvents that lead to this error.\n\n" + events;
}

std::string MailLink(const std::string& description, const std::string& events) {
    return std::string("mailto:") + Address + "?subject=" + EncodeComponent(Subject) +
           "&body=" + EncodeComponent(Body(description, events));
}

}  // namespace BugReport
