// Start-up: whether a window system can be reached before Qt is asked to
// open one.
#include <gtest/gtest.h>

#include "ui/Startup.h"

using resheat::ui::DisplayReachable;

namespace {

TEST(Startup, NoDisplayNamedOrNoneAnsweringMeansNoWindowSystem)
{
    EXPECT_FALSE(DisplayReachable("", "", ""));
    // An X display that nobody serves, as left behind by a closed session.
    EXPECT_FALSE(DisplayReachable(":64999", "", ""));
    EXPECT_FALSE(DisplayReachable("no-such-host.invalid:0", "", ""));
}

TEST(Startup, AChosenPlatformOrWaylandIsLeftToQt)
{
    EXPECT_TRUE(DisplayReachable("", "", "offscreen"));
    EXPECT_TRUE(DisplayReachable(":64999", "", "offscreen"));
    EXPECT_TRUE(DisplayReachable("", "wayland-0", ""));
}

} // namespace
