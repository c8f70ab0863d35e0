// Where the program finds its data (scenes/, maps/ and the music, all opened by relative names): the
// folder given with --data, else the current directory when it holds scenes/ and maps/, else the data
// the build produced. The program changes into the chosen folder before it loads anything.
#pragma once

#include <string>

// The data folder the build writes (its content generator's output).
const char* data_folder_built();
// Whether dir holds both scenes/ and maps/.
bool data_folder_holds_data(const std::string& dir);
// The folder to work in, from the --data value (empty: not given), the current directory and the
// build's folder.
std::string data_folder_choose(const std::string& requested, const std::string& current, const std::string& built);
// Changes into the chosen folder; false (and a one-line reason) when that fails.
bool data_folder_enter(const std::string& requested, std::string* error);
