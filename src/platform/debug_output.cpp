#include "platform/debug_output.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace {
DebugOutputSink& sink_slot() {
    static DebugOutputSink sink;
    return sink;
}
}  // namespace

void OutputDebugStringA(const char* text) {
    if (text == nullptr) return;
    DebugOutputSink& sink = sink_slot();
    if (sink) {
        sink(text);
        return;
    }
    std::fputs(text, stderr);
    std::fflush(stderr);
}

void debug_output_format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (needed >= 0) {
        std::vector<char> buffer(static_cast<size_t>(needed) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
        OutputDebugStringA(buffer.data());
    }
    va_end(args);
}

void debug_output_set_sink(DebugOutputSink sink) { sink_slot() = std::move(sink); }

DebugOutputCapture::DebugOutputCapture() {
    debug_output_set_sink([this](const std::string& line) { text_ += line; });
}

DebugOutputCapture::~DebugOutputCapture() { debug_output_set_sink({}); }
