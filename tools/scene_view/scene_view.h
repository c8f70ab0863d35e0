// vireline-scene-view: shows one 3D Studio scene the way the demo shows its scenes, for people who
// make scenes and for our tests. The command line picks the scene file, the camera, the animation
// time, the frame size and the device; with --out one frame is rendered headless and written as a
// PNG, otherwise the scene animates in a window through the render framework. The scene's textures
// are looked up in the scene file's own folder, whatever the case of their names.
#pragma once

#include <string>

#include "platform/win_types.h"

class Scene;
class SceneObject;

enum class SceneViewDevice { Software, OpenGL };

struct SceneViewOptions {
    std::string scene_path;                        // FILE.3ds
    int camera = 0;                                // --camera N: position in the scene's camera list
    float time = 0.0f;                             // --time T: keyframe frames (1/30 s ticks)
    DWORD width = 640;                             // --size WxH
    DWORD height = 480;
    SceneViewDevice device = SceneViewDevice::Software;  // --device software|opengl
    std::string out_path;                          // --out FRAME.png; empty: the windowed viewer
    bool no_dialog = false;                        // --no-dialog: skip the Settings dialog
};

enum class SceneViewParse { Run, Help, Error };

// Reads the command line (argv[0] is the program). Error leaves a one-line message in `error`.
SceneViewParse scene_view_parse(int argc, const char* const* argv, SceneViewOptions* options, std::string* error);

// The usage text printed by --help.
const char* scene_view_usage();

// Renders one frame headless and writes it to options.out_path. Exit status: 0 written, 1 the scene,
// the device or the file failed (with a one-line message).
int scene_view_run_headless(const SceneViewOptions& options);

// The windowed viewer: the Settings dialog unless no_dialog, the window, the chosen device, the scene
// animating in a loop through the chosen camera; Escape or closing quits. Exit status 2 when there is
// no display to open a window on.
int scene_view_run_windowed(const SceneViewOptions& options);

// Shared by both paths, on the device the render helpers currently draw with:
// points the texture manager at the scene's folder and loads the scene with its textures.
bool scene_view_load(SceneObject* object, const SceneViewOptions& options);
// A time past the scene's end frame wrapped back into its frame segment (start to end); earlier
// times, and scenes without a segment, keep theirs.
float scene_view_wrap_time(const Scene& scene, float time);
// Sets the time (wrapped into the scene's frame segment), animates and draws one whole frame:
// BeginScene, clear, the default states, the chosen camera, EndScene. S_OK or the BeginScene failure.
HRESULT scene_view_draw_frame(SceneObject* object, const SceneViewOptions& options, float time);
