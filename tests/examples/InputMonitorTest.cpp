// The input monitor draws what a virtual pad reports, in the places its layout names.
#include <gtest/gtest.h>
#include "InputMonitor.h"
#include "graphics2d/ImageFiles.h"
#include "platform/Joysticks.h"
#include "support/TestSupport.h"

namespace tarvoke {
namespace {

using namespace inputMonitor;

TEST(Examples, TheInputMonitorShowsAPadsAxesHatAndButtons) {
    test::ScopedTempDir temp;
    const int pad = platform::attachVirtualJoystick("Monitor pad", 6, 4, 1);
    ASSERT_EQ(pad, 0);
    {
        test::EngineRun engine;
        const int axes[] = {32767, -32768, 0, 0, 0, 0};
        const bool buttons[] = {true, false, false, false};
        platform::setVirtualJoystick(pad, axes, 6, 1, 1, buttons, 4);
        Monitor monitor;
        for (int frame = 0; frame < 5; ++frame) {
            drawFrame(monitor);
            showScreen();
        }
        drawFrame(monitor);
        ASSERT_EQ(saveScreen(temp.file("monitor.png").c_str()), 1);
    }
    platform::detachVirtualJoysticks();
    Image shot;
    ASSERT_TRUE(readImageFile(shot, temp.file("monitor.png"), noColourKey));
    auto colourAt = [&](int x, int y) {
        const std::uint8_t* p = shot.pixel(x, y);
        return NumValue(p[0] + p[1] * 256 + p[2] * 65536);
    };
    const int xBar = panelTop + barTop + 2, yBar = xBar + barStep;
    const struct { int x, y; NumValue colour; const char* what; } spots[] = {
        {barLeft + barWidth - 1, xBar, green, "X full right: the bar's right end"},
        {barLeft, xBar, dark, "X: the bar's left end"},
        {barLeft, yBar, green, "Y full up: the bar's left end"},
        {hatLeft + 2 * hatStep + 2, panelTop + hatTop + 2 * hatStep + 2, yellow, "hat down-right"},
        {hatLeft + hatStep + 2, panelTop + hatTop + hatStep + 2, dark, "hat centre"},
        {buttonLeft + 2, panelTop + buttonTop + 2, yellow, "button 1"},
        {buttonLeft + buttonStep + 2, panelTop + buttonTop + 2, dark, "button 2"},
    };
    for (const auto& spot : spots) EXPECT_EQ(colourAt(spot.x, spot.y), spot.colour) << spot.what;
}

} // namespace
} // namespace tarvoke
