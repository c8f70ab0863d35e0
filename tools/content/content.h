// The content generator: writes every scene and picture the demo loads into a data folder, laid out
// as the demo reads it (scenes/, maps/, maps/creds/). The same bytes on every run: nothing reads a
// clock or an unseeded random source, and the work is split between threads only by whole files.
#pragma once

#include <string>
#include <vector>

// Every file the generator writes, relative to the data folder, scenes first.
std::vector<std::string> content_manifest();

// Writes everything under `folder` (created as needed). False with a one-line reason on failure.
bool content_generate(const std::string& folder, std::string* error);
