// The program's diagnostics channel. Everything the program would send to an attached debugger goes
// through OutputDebugStringA; here it is written to standard error unchanged (no prefix, no added
// line break). Tests install a sink to capture the lines instead.
#pragma once

#include <functional>
#include <string>

void OutputDebugStringA(const char* text);

// printf-style convenience for callers that format their own diagnostic lines.
void debug_output_format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Replaces the destination of the channel; an empty function restores standard error.
using DebugOutputSink = std::function<void(const std::string&)>;
void debug_output_set_sink(DebugOutputSink sink);

// RAII capture for tests: everything written while it lives is appended to text().
class DebugOutputCapture {
public:
    DebugOutputCapture();
    ~DebugOutputCapture();
    DebugOutputCapture(const DebugOutputCapture&) = delete;
    DebugOutputCapture& operator=(const DebugOutputCapture&) = delete;
    const std::string& text() const { return text_; }
    void clear() { text_.clear(); }

private:
    std::string text_;
};
