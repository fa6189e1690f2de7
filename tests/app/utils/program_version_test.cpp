#include <gtest/gtest.h>

#include "app/files/version_info.h"

TEST(ProgramVersion, ExecutableCarriesVersion1262)
{
    EXPECT_EQ(utils::GetFileVersionText(VK_PROGRAM_FILE), "1.2.6.2");
}
