// Running the program as a user would, for the end-to-end tests: a command line of options in the
// data folder the build makes, with SDL's dummy audio; its exit status and everything it printed.
#pragma once

#include <string>

struct DemoProcessResult {
    int status = -1;      // the exit status; 128 + N for a death by signal N
    std::string out;      // standard output
    std::string err;      // standard error
};

// environment: assignments such as "SDL_AUDIODRIVER=none" put before the program (after the defaults).
DemoProcessResult run_demo(const std::string& options, const std::string& environment = "");
// The last lines of a text, for failure messages.
std::string tail_lines(const std::string& text, int lines = 15);
