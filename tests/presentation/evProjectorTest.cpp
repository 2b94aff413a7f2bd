// The whole-presentation object: stored as its page collection, read back through the registry, and refusing
// anything but pages.
#include "model/evProjector.h"
#include "model/ObjectStream.h"
#include "model/evObjectCollection.h"
#include "model/evProjectorNaviAction.h"
#include "model/evProjectorPage.h"
#include "platform/Errors.h"
#include "platform/Stream.h"

#include <gtest/gtest.h>

TEST(evProjectorTest, StoredAsItsPagesAndReadThroughTheRegistry)
{
    evProjector projector;
    for (int32_t target : {1, -1}) {
        auto page = std::make_unique<evProjectorPage>();
        page->AddNaviAction(std::make_unique<evProjectorNaviAction>(TRect{0, 0, 5, 5}, target));
        projector.GetPages().Add(std::move(page));
    }
    projector.SetCompanion(std::make_unique<evProjectorPage>());
    MemoryStream stream;
    WriteObject(stream, &projector);

    MemoryStream expected;
    expected.WriteString("P");
    expected.WriteString("evProjector");
    expected.WriteInt32(0);
    expected.WriteInt32(0);
    ASSERT_TRUE(projector.GetPages().SaveToStream(expected));
    EXPECT_EQ(stream.Data(), expected.Data());

    stream.SetPosition(0);
    const auto read = ReadObjectAs<evProjector>(stream);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->GetPages().Count(), 2);
    EXPECT_EQ(read->GetCompanion(), nullptr);
    EXPECT_EQ(read->ToString(), projector.ToString());
    EXPECT_EQ(stream.Remaining(), 0);
}

TEST(evProjectorTest, AnythingButPagesOrACutStreamIsAReadError)
{
    evObjectCollection pages;
    pages.Add(std::make_unique<evProjectorNaviAction>(TRect{0, 0, 1, 1}, 0));
    MemoryStream stream;
    stream.WriteInt32(0);
    stream.WriteInt32(0);
    ASSERT_TRUE(pages.SaveToStream(stream));
    stream.SetPosition(0);
    EXPECT_THROW(evProjector(stream, nullptr), EReadError);

    evProjector projector;
    projector.GetPages().Add(std::make_unique<evProjectorPage>());
    MemoryStream whole;
    projector.SaveToStream(whole);
    for (size_t cut = 0; cut < whole.Data().size(); ++cut) {
        MemoryStream part(std::vector<uint8_t>(whole.Data().begin(), whole.Data().begin() + static_cast<long>(cut)));
        EXPECT_THROW(evProjector(part, nullptr), EReadError) << cut;
    }
}
