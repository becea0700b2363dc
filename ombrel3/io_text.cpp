#include "io_text.h"

#include "api_support.h"

#include <charconv>
#include <cstring>

namespace ombrel {

TextCursor::TextCursor(std::string_view data, std::string source)
    : pos_(data.data()), lineEnd_(data.data()), end_(data.data() + data.size()), source_(std::move(source)) {}

bool TextCursor::nextLine() {
    for (;;) {
        pos_ = lineEnd_;
        if (pos_ < end_ && *pos_ == '\n') ++pos_;
        if (pos_ >= end_) {
            lineEnd_ = end_;
            return false;
        }
        ++line_;
        const void* nl = std::memchr(pos_, '\n', static_cast<std::size_t>(end_ - pos_));
        lineEnd_ = nl ? static_cast<const char*>(nl) : end_;
        skipSpaces();
        if (pos_ < lineEnd_) return true;
    }
}

std::string_view TextCursor::peekLineWord() const {
    const char* p = lineEnd_;
    while (p < end_) {
        if (*p == '\n') ++p;
        while (p < end_ && (*p == ' ' || *p == '\t' || *p == '\r')) ++p;
        if (p < end_ && *p != '\n') break;
    }
    const char* s = p;
    while (p < end_ && *p != ' ' && *p != '\t' && *p != '\r' && *p != '\n') ++p;
    return {s, static_cast<std::size_t>(p - s)};
}

void TextCursor::skipSpaces() {
    while (pos_ < lineEnd_ && (*pos_ == ' ' || *pos_ == '\t' || *pos_ == '\r')) ++pos_;
}

bool TextCursor::lineDone() {
    skipSpaces();
    return pos_ >= lineEnd_;
}

std::string_view TextCursor::rawToken() {
    skipSpaces();
    if (pos_ >= lineEnd_) fail("the line ends too early");
    const char* s = pos_;
    while (pos_ < lineEnd_ && *pos_ != ' ' && *pos_ != '\t' && *pos_ != '\r') ++pos_;
    return {s, static_cast<std::size_t>(pos_ - s)};
}

std::string_view TextCursor::word() { return rawToken(); }

void TextCursor::expect(std::string_view keyword) {
    std::string_view w = rawToken();
    if (w != keyword) fail("expected \"" + std::string(keyword) + "\", found \"" + std::string(w.substr(0, 40)) + "\"");
}

double TextCursor::number() {
    std::string_view t = rawToken();
    double v = 0;
    auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (ec != std::errc() || end != t.data() + t.size())
        fail("\"" + std::string(t.substr(0, 40)) + "\" is not a number");
    return v;
}

int64_t TextCursor::integer(int64_t lo, int64_t hi) {
    std::string_view t = rawToken();
    int64_t v = 0;
    auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (ec != std::errc() || end != t.data() + t.size())
        fail("\"" + std::string(t.substr(0, 40)) + "\" is not an integer");
    if (v < lo || v > hi) fail(std::to_string(v) + " is outside " + std::to_string(lo) + ".." + std::to_string(hi));
    return v;
}

std::string TextCursor::quoted() {
    skipSpaces();
    if (pos_ >= lineEnd_ || *pos_ != '"') fail("expected a quoted string");
    ++pos_;
    std::string out;
    for (;;) {
        if (pos_ >= lineEnd_) fail("unterminated string");
        char c = *pos_++;
        if (c == '"') break;
        if (c == '\\') {
            if (pos_ >= lineEnd_) fail("unterminated string");
            char e = *pos_++;
            switch (e) {
                case '"': out += '"'; break;
                case '\\': out += '\\'; break;
                case 'n': out += '\n'; break;
                case 'r': out += '\r'; break;
                default: fail(std::string("unknown escape \\") + e);
            }
        } else {
            out += c;
        }
    }
    if (pos_ < lineEnd_ && *pos_ != ' ' && *pos_ != '\t' && *pos_ != '\r') fail("text after a closing quote");
    return out;
}

void TextCursor::fail(const std::string& what) const {
    throw ApiError(source_ + ": line " + std::to_string(line_) + ": " + what);
}

void appendQuoted(std::string& out, std::string_view text) {
    out += '"';
    for (char c : text) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            default: out += c;
        }
    }
    out += '"';
}

void appendNumber(std::string& out, double v) {
    char buf[32];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, ec == std::errc() ? end : buf);
}

void appendInt(std::string& out, int64_t v) {
    char buf[24];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, ec == std::errc() ? end : buf);
}

}  // namespace ombrel
