// Line-oriented tokens of the world text format: bare words, numbers and quoted
// strings, read in place from one buffer holding the whole file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace ombrel {

class TextCursor {
public:
    TextCursor(std::string_view data, std::string source);

    // Moves to the next line holding a token; false at the end of the data.
    bool nextLine();
    // Looks at the first token of the next line without moving (empty at the end).
    std::string_view peekLineWord() const;
    int line() const { return line_; }
    bool lineDone();

    std::string_view word();
    void expect(std::string_view keyword);
    double number();
    int64_t integer(int64_t lo, int64_t hi);
    bool flag() { return integer(0, 1) != 0; }
    std::string quoted();
    // Bytes left on the current line: a bound for any count read from it.
    std::size_t lineBytesLeft() const { return static_cast<std::size_t>(lineEnd_ - pos_); }
    // Bytes left in the whole data.
    std::size_t bytesLeft() const { return static_cast<std::size_t>(end_ - pos_); }
    const std::string& source() const { return source_; }

    [[noreturn]] void fail(const std::string& what) const;

private:
    void skipSpaces();
    std::string_view rawToken();

    const char* pos_;
    const char* lineEnd_;
    const char* end_;
    std::string source_;
    int line_ = 0;
};

// Appends a string in the quoted form TextCursor::quoted reads.
void appendQuoted(std::string& out, std::string_view text);
// Appends the shortest text that reads back as exactly v.
void appendNumber(std::string& out, double v);
void appendInt(std::string& out, int64_t v);

}  // namespace ombrel
