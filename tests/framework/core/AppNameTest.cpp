// The application's switches are named after the title in its string table: the test tables'
// "Frame Test" (scripts/test sets FRAME_TEST_NO_SIMD for the plain row decoders).
#include "framework/core/AppName.h"

#include <gtest/gtest.h>

namespace {

TEST(AppName, SwitchesAreTheNameInCapitalsWithUnderscores)
{
    EXPECT_EQ(AfxGetAppName(), "Frame Test");
    EXPECT_EQ(AfxSwitchVariable("NO_SIMD"), "FRAME_TEST_NO_SIMD");
    EXPECT_EQ(AfxSwitchVariable("UI_REPORT"), "FRAME_TEST_UI_REPORT");
}

} // namespace
