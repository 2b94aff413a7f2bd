#include "screens/FileDialogs.h"

#include <gtest/gtest.h>

TEST(FileDialogsTest, FiltersBecomeTheToolkitsFilters)
{
    EXPECT_EQ(ToolkitFilter("Vellora project|*.evp"), "Vellora project (*.evp)");
    EXPECT_EQ(ToolkitFilter("Pictures|*.jpg;*.bmp|All files|*.*"), "Pictures (*.jpg *.bmp);;All files (*.*)");
    EXPECT_EQ(ToolkitFilter(""), "");
}
