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

// Writes the preview scenes (scenes with stand-ins for the effects the demo draws into them) into
// `folder`, for looking at with the scene viewer.
bool content_generate_previews(const std::string& folder, std::string* error);
