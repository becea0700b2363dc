// Where the splash and about windows send the user.
#pragma once

inline constexpr const char* kWebSite = "https://talvora.example.org/";
inline constexpr const char* kDocumentation = "https://talvora.example.org/docs/";
inline constexpr const char* kSupportMail = "mailto:support@talvora.example.org?subject=TALVORA";
