#include "AlbumTestSupport.h"

#include "model/evHelptext.h"

TEST(evHelptextTest, StreamTextAndClone)
{
    MemoryStream in;
    WriteHeader(in, 0, 4);
    in.WriteString("welcome");
    in.WriteInt32(12);
    in.WriteString("Hello\r\nthere");
    in.SetPosition(0);
    evHelptext text(in, nullptr);
    EXPECT_EQ(in.Remaining(), 0);
    EXPECT_EQ(SavedBody(text), in.Data());
    EXPECT_EQ(text.ToString(), "evHelptext[4, 0, 'welcome', 12, 'Hello\r\nthere']");
    auto copy = text.Clone();
    EXPECT_EQ(copy->ToString(), "evHelptext[0, 0, 'welcome', 12, 'Hello\r\nthere']");
    // Help texts do not compare their content, like every class that does not say otherwise.
    EXPECT_FALSE(copy->IsEqual(&text));
}
