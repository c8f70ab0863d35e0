// The demo's eight scenes, one function each, described for the 3DS writer. Sizes follow how the
// demo uses them: the reader scales file units by 0.01, so a world unit below is 100 file units, and
// the effects that take a mesh out of a scene scale it back by 100.
#pragma once

#include <string>
#include <vector>

#include "scene3ds_writer/scene3ds_file.h"

File3dsScene scene_outous();    // the opening: the blob's garden
File3dsScene scene_kanjoni();   // the canyon to fly through
File3dsScene scene_altaat();    // the courtyard around the water basin
File3dsScene scene_taustaa();   // the backdrop of the box
File3dsScene scene_planet();    // the planet wrapped in the live picture
File3dsScene scene_pallo();     // the sphere of the echo shells and the spiral
File3dsScene scene_boxi();      // the box the repulsor bends
File3dsScene scene_cylinder();  // the tunnel tube

struct SceneJob {
    const char* path;  // relative to the data folder
    File3dsScene (*make)();
};

// Every scene, in the order they are written.
const std::vector<SceneJob>& scene_jobs();

// Scenes for looking at, not for the demo: two of the scenes with stand-ins where the demo draws its
// effects into them (the blob, the water), so that a viewer shows how they sit together.
const std::vector<SceneJob>& preview_jobs();
