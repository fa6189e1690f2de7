#include <gtest/gtest.h>

#include "app/files/version_info.h"

TEST(ProgramVersion, ExecutableCarriesTheVersionOfTheBuild)
{
    EXPECT_EQ(utils::GetFileVersionText(VK_PROGRAM_FILE), VK_PROGRAM_VERSION);
}
