#include "model/evActionElement.h"
#include "model/ObjectStream.h"
#include "platform/Stream.h"

#include <gtest/gtest.h>

namespace {

MemoryStream ActionStream(int32_t version)
{
    MemoryStream s;
    s.WriteInt32(version);
    s.WriteInt32(8);
    s.WriteString("button");
    for (int32_t v : {10, 20, 30, 40, 15})
        s.WriteInt32(v);
    if (version >= 1) {
        for (int32_t v : {1, 2, 3})
            s.WriteInt32(v);
    }
    if (version >= 2) {
        s.WriteInt32(250);
        s.WriteInt32(2);
    }
    s.SetPosition(0);
    return s;
}

std::vector<uint8_t> Saved(const evObject& object)
{
    MemoryStream s;
    object.SaveToStream(s);
    return s.Data();
}

} // namespace

TEST(evActionElementTest, StoredFormByVersion)
{
    MemoryStream current = ActionStream(2);
    evActionElement element(current, nullptr);
    EXPECT_EQ(current.Remaining(), 0);
    EXPECT_EQ(Saved(element), current.Data());
    EXPECT_EQ(element.ToString(), "evActionElement[8, 2, 10, 20, 30, 40, 15, 1, 2, 3, 250, 2]");
    EXPECT_EQ(element.GetRect().Right, 40);
    EXPECT_EQ(element.GetRect().Bottom, 60);

    MemoryStream v1 = ActionStream(1);
    evActionElement one(v1, nullptr);
    EXPECT_EQ(v1.Remaining(), 0);
    EXPECT_EQ(one.ToString(), "evActionElement[8, 1, 10, 20, 30, 40, 15, 1, 2, 3, 0, 0]");

    MemoryStream v0 = ActionStream(0);
    evActionElement zero(v0, nullptr);
    EXPECT_EQ(v0.Remaining(), 0);
    EXPECT_EQ(zero.ToString(), "evActionElement[8, 0, 10, 20, 30, 40, 15, 0, 0, 0, 0, 0]");
    std::vector<uint8_t> upgraded = ActionStream(2).Data();
    std::fill(upgraded.begin() + 38, upgraded.end(), 0);
    EXPECT_EQ(Saved(zero), upgraded);
    EXPECT_EQ(zero.Clone()->ToString(), "evActionElement[0, 0, 10, 20, 30, 40, 15, 0, 0, 0, 0, 0]");
}
