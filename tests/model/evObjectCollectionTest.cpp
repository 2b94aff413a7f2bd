#include "StoredFormSupport.h"
#include "TestObjects.h"

#include "platform/Errors.h"

#include <gtest/gtest.h>

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
} // namespace

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
    ExpectEveryCutFails(Saved(c), [](Stream& s) { evObjectCollection{s}; });
}
