#include "model/ClassRegistry.h"

#include <gtest/gtest.h>

// Projects and design previews are only read by their own constructors and must never come out of a stream.
TEST(AlbumClassesTest, StoredAlbumClassesAreRegisteredProjectAndPreviewAreNot)
{
    const ClassRegistry& registry = ClassRegistry::Instance();
    for (const char* name : {"evUserPicture", "evActionElement", "evPageLayout", "evPageLayoutEntry", "evLayout",
                             "evCategory", "evCategoryEntry", "evBranding", "evPhotograph", "evHelptext"})
        EXPECT_TRUE(registry.IsRegistered(name)) << name;
    EXPECT_FALSE(registry.IsRegistered("evProject"));
    EXPECT_FALSE(registry.IsRegistered("evLayoutPreview"));
}
