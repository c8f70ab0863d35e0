// Golden images of small composed scenes, on every device, compared with the device's tolerance.
// On a mismatch the actual, expected and difference pictures are written to <build>/test-output/.
// To approve new pictures after an intended change:
//     VIRELINE_APPROVE=1 ./tests/platform/d3d/d3d_conformance_tests --gtest_filter='*GoldenScene*'
// which rewrites tests/platform/d3d/golden/<scene>.png from the software device (other devices only compare).
#include <gtest/gtest.h>

#include "platform/d3d/golden_scenes.h"
#include "support/golden_image.h"

namespace {

class GoldenScene : public testing::TestWithParam<ConformanceDevice> {
protected:
    void SetUp() override
    {
        if (!device_available(*GetParam().guid)) GTEST_SKIP() << GetParam().name << " is not in this build";
        if (golden_approving() && !(*GetParam().guid == IID_IDirect3DRGBDevice)) {
            GTEST_SKIP() << "golden pictures are approved from the software device only";
        }
    }
};

TEST_P(GoldenScene, MatchesTheApprovedPicture)
{
    for (const auto& scene : golden_scenes()) {
        DeviceHarness h(*GetParam().guid, kGoldenWidth, kGoldenHeight, true);
        ASSERT_TRUE(h.ok());
        ASSERT_TRUE(scene.draw(h)) << scene.name;
        const TestImage image = h.capture();
        EXPECT_MATCHES_GOLDEN(std::string("tests/platform/d3d/golden/") + scene.name + ".png", image, GetParam().golden);
    }
}

INSTANTIATE_TEST_SUITE_P(Devices, GoldenScene, testing::ValuesIn(conformance_devices()), DeviceParamName());

}  // namespace
