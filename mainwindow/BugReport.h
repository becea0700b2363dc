// The mail link of a bug report: the subject and the body are percent-encoded
// whole, so typed text can neither end the body nor add header fields.
#pragma once

#include <string>

namespace BugReport {

inline constexpr const char* Address = "bugs@talvora.example";
inline constexpr const char* Subject = "TALVORA Bug report";

// Every byte but the unreserved ones as %XX; a line feed typed by the user
// becomes a line break (%0D%0A), a carriage return before it is dropped.
std::string EncodeComponent(const std::string& text);

// The report's body text: the error's description, then the events typed by the user.
std::string Body(const std::string& description, const std::string& events);

// "mailto:" + address + "?subject=" + encoded subject + "&body=" + encoded body.
std::string MailLink(const std::string& description, const std::string& events);

}  // namespace BugReport
