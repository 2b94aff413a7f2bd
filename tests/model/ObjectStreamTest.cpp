#include "model/ObjectStream.h"
#include "platform/Stream.h"

#include <gtest/gtest.h>

TEST(ObjectStream, Smoke)
{
    MemoryStream s;
    WriteObject(s, nullptr);
    s.SetPosition(0);
    EXPECT_EQ(ReadObject(s), nullptr);
}
