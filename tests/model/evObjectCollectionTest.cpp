#include "TestObjects.h"

#include "platform/Errors.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {
class CollectionTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterTestClasses(); }

    static std::vector<uint8_t> Saved(const evObjectCollection& c)
    {
        MemoryStream s;
        EXPECT_TRUE(c.SaveToStream(s));
        return s.Data();
    }
};

// A stream that accepts only a few bytes, for the partial-write case.
class ShortStream : public MemoryStream {
public:
    explicit ShortStream(int64_t limit) : m_limit(limit) {}
    int64_t Write(const void* buffer, int64_t count) override
    {
        const int64_t room = m_limit - Size();
        return MemoryStream::Write(buffer, count < room ? count : (room > 0 ? room : 0));
    }

private:
    int64_t m_limit;
};
}

TEST_F(CollectionTest, EmptyAndNegativeCountsReadAsEmpty)
{
    for (int32_t count : {0, -5}) {
        MemoryStream s;
        s.WriteInt32(count);
        s.SetPosition(0);
        evObjectCollection c(s);
        EXPECT_EQ(c.Count(), 0);
        EXPECT_EQ(c.ToString(), "evObjectCollection[]");
    }
}

TEST_F(CollectionTest, RoundTripKeepsOrderClassesAndBytes)
{
    evObjectCollection c;
    EXPECT_EQ(c.Add(std::make_unique<tstItem>("a", 1)), 0);
    EXPECT_EQ(c.Add(std::make_unique<tstOtherItem>("b", 2)), 1);
    const std::vector<uint8_t> bytes = Saved(c);
    MemoryStream s(bytes);
    s.Data().push_back(0xAB); // bytes after the last member are ignored
    evObjectCollection read(s);
    EXPECT_EQ(s.Remaining(), 1);
    ASSERT_EQ(read.Count(), 2);
    EXPECT_EQ(read.GetClassAt(0), "tstItem");
    EXPECT_EQ(read.GetClassAt(1), "tstOtherItem");
    EXPECT_TRUE(read.IsEqual(c));
    EXPECT_EQ(Saved(read), bytes);
    EXPECT_EQ(read.ToString(), "evObjectCollection[tstItem[a], tstItem[b]]");
}

TEST_F(CollectionTest, IsEqualComparesCountsClassNamesThenContent)
{
    evObjectCollection a, b, c, empty1, empty2;
    a.Add(std::make_unique<tstItem>("x"));
    b.Add(std::make_unique<tstItem>("x"));
    c.Add(std::make_unique<tstOtherItem>("x")); // same content, other class name
    EXPECT_TRUE(a.IsEqual(b));
    EXPECT_FALSE(a.IsEqual(c));
    EXPECT_FALSE(a.IsEqual(empty1));
    EXPECT_TRUE(empty1.IsEqual(empty2));
    b.Add(std::make_unique<tstItem>("y"));
    EXPECT_FALSE(a.IsEqual(b));
}

TEST_F(CollectionTest, IdentityDeleteAndIndexErrors)
{
    evObjectCollection c;
    c.Add(std::make_unique<tstItem>("a"));
    c.Add(std::make_unique<tstItem>("b"));
    c.Add(std::make_unique<tstItem>("c"));
    tstItem lookalike("b");
    EXPECT_EQ(c.IndexOf(&lookalike), -1);
    evObject* b = c.GetItem(1);
    EXPECT_EQ(c.IndexOf(b), 1);

    std::unique_ptr<evObject> kept = c.Delete(1, false);
    EXPECT_EQ(kept.get(), b);
    EXPECT_EQ(static_cast<tstItem*>(kept.get())->Text(), "b");
    EXPECT_EQ(c.Count(), 2);
    EXPECT_EQ(c.GetItemAs<tstItem>(1)->Text(), "c");
    c.Delete(0);
    EXPECT_EQ(c.GetItemAs<tstItem>(0)->Text(), "c");

    EXPECT_THROW(c.GetItem(1), EListError);
    EXPECT_THROW(c.GetItem(-1), EListError);
    EXPECT_THROW(c.Delete(5), EListError);
    EXPECT_THROW(c.GetClassAt(1), EListError);
    EXPECT_THROW(c.Add(nullptr), EListError);
}

TEST_F(CollectionTest, FindByIDReturnsFirstMatchDepthFirst)
{
    evObjectCollection c;
    auto box = std::make_unique<tstBox>();
    box->m_items->Add(std::make_unique<tstItem>("inside", 5));
    c.Add(std::move(box));
    c.Add(std::make_unique<tstItem>("later", 5));
    c.Add(std::make_unique<tstItem>("also", 5));
    EXPECT_EQ(static_cast<tstItem*>(c.FindByID(5))->Text(), "inside");
    EXPECT_EQ(c.FindByID(6), nullptr);
}

TEST_F(CollectionTest, CloneCopiesAndLeavesOutMembersWithoutACopy)
{
    evObjectCollection c;
    c.Add(std::make_unique<tstItem>("a", 9));
    c.Add(std::make_unique<tstBox>()); // the base gives no copy
    c.Add(std::make_unique<tstItem>("b"));
    std::unique_ptr<evObjectCollection> copy = c.Clone();
    ASSERT_EQ(copy->Count(), 2);
    EXPECT_EQ(copy->GetItemAs<tstItem>(0)->Text(), "a");
    EXPECT_EQ(copy->GetItem(0)->GetID(), 0);
    EXPECT_NE(copy->GetItem(0), c.GetItem(0));
}

TEST_F(CollectionTest, DestroyWithoutMembersHandsThemBack)
{
    auto c = std::make_unique<evObjectCollection>();
    c->Add(std::make_unique<tstItem>("a"));
    std::vector<std::unique_ptr<evObject>> members = c->DestroyWithoutMembers();
    c.reset();
    ASSERT_EQ(members.size(), 1u);
    EXPECT_EQ(static_cast<tstItem*>(members[0].get())->Text(), "a");
}

TEST_F(CollectionTest, PartialWriteReportsFalse)
{
    evObjectCollection c;
    c.Add(std::make_unique<tstItem>(std::string(100, 'z')));
    ShortStream s(20);
    EXPECT_FALSE(c.SaveToStream(s));
    EXPECT_EQ(s.Size(), 20);
}

TEST_F(CollectionTest, MissingMemberAndCutStreamsAreReadErrors)
{
    MemoryStream np;
    np.WriteInt32(1);
    np.WriteString("NP");
    np.SetPosition(0);
    EXPECT_THROW(evObjectCollection{np}, EReadError);

    evObjectCollection c;
    c.Add(std::make_unique<tstItem>("abc"));
    c.Add(std::make_unique<tstBox>());
    const std::vector<uint8_t> full = Saved(c);
    for (size_t cut = 0; cut < full.size(); ++cut) {
        MemoryStream s(std::vector<uint8_t>(full.begin(), full.begin() + static_cast<long>(cut)));
        EXPECT_THROW(evObjectCollection{s}, EReadError) << "cut at " << cut;
    }
}

TEST_F(CollectionTest, CollectionFiles)
{
    const auto path = std::filesystem::temp_directory_path() / "vellora-collection-test.evb";
    {
        std::ofstream f(path, std::ios::binary);
        f.write("\0\0\0\0", 4);
    }
    EXPECT_EQ(evObjectCollection::CreateFromFile(path.string())->Count(), 0);
    std::filesystem::remove(path);
    EXPECT_THROW(evObjectCollection::CreateFromFile(path.string()), EFOpenError);
}
