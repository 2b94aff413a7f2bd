#include "StoredFormSupport.h"
#include "TestObjects.h"

#include "platform/Errors.h"

#include <gtest/gtest.h>

namespace {
class ObjectStreamTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterTestClasses(); }
};

std::vector<uint8_t> Saved(const evObject* object)
{
    MemoryStream s;
    WriteObject(s, object);
    return s.Data();
}
} // namespace

TEST_F(ObjectStreamTest, ReferenceLayoutAndTags)
{
    tstItem item("x", 7);
    const std::vector<uint8_t> expected = {1,   0, 0, 0, 'P', 7, 0, 0, 0, 't', 's', 't', 'I', 't', 'e',
                                           'm', 2, 0, 0, 0,   7, 0, 0, 0, 1,   0,   0,   0,   'x'};
    EXPECT_EQ(Saved(&item), expected);

    // "NP" is six bytes and no object; any other tag is no object and consumes only the tag.
    MemoryStream s;
    WriteObject(s, nullptr);
    s.WriteString("Q");
    s.WriteString("tstItem");
    EXPECT_EQ(s.Size(), 6 + 5 + 11);
    s.SetPosition(0);
    EXPECT_EQ(ReadObject(s), nullptr);
    EXPECT_EQ(s.Position(), 6);
    EXPECT_EQ(ReadObject(s), nullptr);
    EXPECT_EQ(s.Position(), 11);
}

TEST_F(ObjectStreamTest, ReadAndSaveKeepsIdentifierButWritesCurrentVersion)
{
    // A version 1 body carries an extra integer that is dropped; it is written back as version 2.
    MemoryStream old;
    old.WriteString("P");
    old.WriteString("tstItem");
    WriteInts(old, {1, 42, 999});
    old.WriteString("text");
    old.SetPosition(0);
    std::unique_ptr<evObject> object = ReadObject(old);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->GetID(), 42);
    EXPECT_EQ(object->GetStoredVersion(), 1);
    tstItem expected("text", 42);
    EXPECT_EQ(Saved(object.get()), Saved(&expected));
    EXPECT_EQ(object->Clone()->GetID(), 0);
}

TEST_F(ObjectStreamTest, VersionsNewerThanTheClassAreReadErrors)
{
    // Every version up to the current one is read; a newer or negative one stops before the body is read.
    const struct {
        int32_t version;
        const char* error;
    } cases[] = {
        {0, nullptr},
        {2, nullptr},
        {3, "tstItem version 3 is newer than this program reads"},
        {-1, "tstItem version -1 is no version at all"},
    };
    for (const auto& c : cases) {
        MemoryStream s;
        s.WriteString("P");
        s.WriteString("tstItem");
        WriteHeader(s, c.version, 5);
        s.WriteString("text");
        s.SetPosition(0);
        if (!c.error) {
            EXPECT_EQ(ReadObject(s)->GetStoredVersion(), c.version);
            continue;
        }
        try {
            ReadObject(s);
            ADD_FAILURE() << c.version << " was read";
        } catch (const EReadError& error) {
            EXPECT_STREQ(error.what(), c.error);
        }
    }
}

TEST_F(ObjectStreamTest, UnknownClassWrongClassAndDeepNestingAreReadErrors)
{
    MemoryStream s;
    s.WriteString("P");
    s.WriteString("evNoSuchClass");
    WriteHeader(s, 0, 0);
    s.SetPosition(0);
    EXPECT_THROW(ReadObject(s), EReadError);

    tstBox box;
    MemoryStream b(Saved(&box));
    EXPECT_THROW(ReadObjectAs<tstItem>(b), EReadError);

    // Each level: "P", "tstBox", header, then the inner reference; too deep is a read error, not a stack overflow.
    MemoryStream deep;
    for (int i = 0; i < 100000; ++i) {
        deep.WriteString("P");
        deep.WriteString("tstBox");
        WriteHeader(deep, 0, 0);
    }
    deep.SetPosition(0);
    EXPECT_THROW(ReadObject(deep), EReadError);
}

TEST_F(ObjectStreamTest, ReaderCutAtEveryByteFailsCleanly)
{
    tstBox box;
    box.m_inner = std::make_unique<tstOtherItem>("inner", 3);
    box.m_items->Add(std::make_unique<tstItem>("one", 1));
    box.m_items->Add(std::make_unique<tstOtherItem>("two", 2));
    const std::vector<uint8_t> full = Saved(&box);
    ExpectEveryCutFails(full, [](Stream& s) { ReadObject(s); });
    MemoryStream whole(full);
    std::unique_ptr<evObject> read = ReadObject(whole);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(Saved(read.get()), full);
    EXPECT_EQ(dynamic_cast<tstItem*>(read->FindByID(2))->Text(), "two");
}
