#include <gtest/gtest.h>

#include "Project/FixturePatchModes.h"

namespace Project {
namespace {

TEST(FixturePatchModes, ChoicesFollowDevicesAndFixtures)
{
    using P = PatchMode;
    // Enabled modes in the order ALTERNATE, ODD, EVEN, LEFT, RIGHT, LEFTRIGHT, MANUALENTRY,
    // SAME.
    const struct {
        int devices;
        int fixtures;
        const char* enabled;
    } cases[] = {
        {0, 1, "......M."}, {-1, 2, "......M."}, {1, 1, "......MS"}, {1, 2, "......MS"},
        {2, 1, ".OELR.MS"}, {3, 1, ".OE...MS"},  {4, 2, "A....BMS"}, {3, 2, "A.....MS"},
        {4, 3, "A.....MS"}, {2, 0, "......MS"},
    };
    const P modes[] = {P::ALTERNATE, P::ODD,       P::EVEN,        P::LEFT,
                       P::RIGHT,     P::LEFTRIGHT, P::MANUALENTRY, P::SAME};
    for (const auto& c : cases) {
        for (int i = 0; i < 8; ++i) {
            EXPECT_EQ(isPatchModeEnabled(modes[i], c.devices, c.fixtures), c.enabled[i] != '.')
                << "mode " << i << ", N " << c.devices << ", n " << c.fixtures;
        }
    }

    EXPECT_EQ(effectivePatchMode(P::ODD, 3, 1), P::ODD);
    EXPECT_EQ(effectivePatchMode(P::LEFT, 3, 1), P::SAME);
    EXPECT_EQ(effectivePatchMode(P::ALTERNATE, 0, 2), P::MANUALENTRY);

    using L = LocationMode;
    EXPECT_EQ(effectiveLocationMode(L::CHASE, P::SAME, 2), L::OWN_SCENE);
    EXPECT_EQ(effectiveLocationMode(L::RESET, P::MANUALENTRY, 3), L::OWN_SCENE);
    EXPECT_EQ(effectiveLocationMode(L::OWN_SCENE, P::SAME, 1), L::SCENE);
    EXPECT_EQ(effectiveLocationMode(L::OWN_SCENE, P::ALTERNATE, 2), L::SCENE);
    EXPECT_EQ(effectiveLocationMode(L::CHASE, P::ALTERNATE, 2), L::CHASE);
}

}  // namespace
}  // namespace Project
