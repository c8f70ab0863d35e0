// Small headless set-ups that show each effect on a device of its own: generated textures (TGA and
// JPEG) and test meshes written with the 3DS writer into a scratch folder, a fixed camera, and a fixed
// number of fixed-step updates (one demo tick, 1/30 s, each) before the frame that is read back. The
// golden-picture tests and the benchmarks both drive the effects through these rigs; nothing here
// depends on the demo's own content.
#pragma once

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "platform/d3d/d3d.h"

enum class RigEffect { Overlays, SoftBlob, EchoShells, ShardRing, Tunnel, Water, Repulsor, MotionBlur };

struct RigEffectInfo {
    RigEffect effect;
    const char* name;  // letters, digits and underscores: test and picture names
    int frames;        // fixed steps before the checked frame
};
const std::vector<RigEffectInfo>& rig_effects();
inline void PrintTo(const RigEffectInfo& info, std::ostream* out) { *out << info.name; }

constexpr int RIG_WIDTH = 160;
constexpr int RIG_HEIGHT = 120;
constexpr float RIG_STEP_SECONDS = 1.0f / 30.0f;

// The scratch content: "checker.tga", "stripes.tga", "stars.tga", "smooth.tga", "metal.jpg" and the meshes
// "ball.3ds" (a sphere of radius 1), "tube.3ds" (an open cylinder along z, radius 10) and "box.3ds"
// (a subdivided cube of side 80). Written once per folder; false with a reason when that fails.
bool rig_write_content(const std::string& folder, std::string* reason);

// A frame read back from a render target: 0xAARRGGBB, rows top first, alpha forced to 0xFF.
struct RigFrame {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;
};
bool rig_read_surface(IDirectDrawSurface7* surface, RigFrame* frame);

// One effect on current_device: build() makes it (random generator restarted, texture folder set to
// the content folder), update() advances one fixed step, draw() renders one frame into the current
// target (scene begin and end included). Releases what it made on destruction.
class EffectRig {
public:
    EffectRig(RigEffect effect, std::string content_folder);
    ~EffectRig();
    EffectRig(const EffectRig&) = delete;
    EffectRig& operator=(const EffectRig&) = delete;

    bool build(std::string* reason);
    void update();
    void draw();
    // The whole run of a golden frame: build, then `frames` times update and draw.
    bool run(int frames, std::string* reason);

    struct State;

private:
    RigEffect effect_;
    std::string folder_;
    std::unique_ptr<State> state_;
};
