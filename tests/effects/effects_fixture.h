// Fixtures of the effect tests: a recording device (every call as text, plain-memory vertex buffers)
// published as current_device, or the real software device at a small size, both with the program-wide
// random generator restarted and the texture list emptied afterwards.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "math/random.h"
#include "render/offscreen_device.h"
#include "support/recording_device.h"
#include "render/render_context.h"
#include "textures/texture_manager.h"

class RecordingEffectTest : public ::testing::Test {
protected:
    void SetUp() override {
        random_reset();
        render_objects_set({nullptr, &direct3d, &device, nullptr});
    }
    void TearDown() override {
        texture_delete_all();
        render_objects_set({});
        random_reset();
    }
    // The recorded calls whose names start with any of the prefixes, in order.
    std::vector<std::string> calls_of(std::initializer_list<const char*> prefixes) const {
        std::vector<std::string> out;
        for (const std::string& call : device.calls) {
            if (std::any_of(prefixes.begin(), prefixes.end(), [&](const char* p) { return call.starts_with(p); })) {
                out.push_back(call);
            }
        }
        return out;
    }

    RecordingDirect3D direct3d;
    RecordingDevice device;
};

class SoftwareEffectTest : public ::testing::Test {
protected:
    void SetUp() override { random_reset(); }
    void TearDown() override {
        texture_delete_all();
        offscreen.release();
        random_reset();
    }
    // The software device at that size, made current.
    void make_device(DWORD width, DWORD height) {
        std::string reason;
        ASSERT_EQ(offscreen.create(OffscreenDeviceKind::Software, width, height, &reason), S_OK) << reason;
        offscreen.make_current();
    }

    OffscreenDevice offscreen;
};
