#include "AlbumTestSupport.h"

#include "model/PageCompleteness.h"
#include "model/PageOrder.h"
#include "model/evActionElement.h"
#include "model/evCategory.h"
#include "model/evCategoryEntry.h"
#include "model/evHelptext.h"
#include "model/evProject.h"
#include "model/evUserPicture.h"
#include "model/evUserTextfield.h"
#include "platform/Errors.h"

namespace {

constexpr TColor kRed = 0x0000FF;

std::unique_ptr<evCategory> Cat(const std::string& title, int32_t layoutId = 0, int32_t kind = 3, bool optional = false)
{
    auto category = std::make_unique<evCategory>(title, "", optional, kind);
    if (layoutId)
        category->SetPageLayoutID(layoutId);
    return category;
}

std::vector<std::string> Titles(const std::vector<evCategory*>& list)
{
    std::vector<std::string> titles;
    for (const evCategory* category : list)
        titles.push_back(category->GetTitle());
    return titles;
}

std::unique_ptr<evCategory> ReadCategory(MemoryStream& s)
{
    s.SetPosition(0);
    return std::make_unique<evCategory>(s, nullptr);
}

void WriteHead(MemoryStream& s, int32_t version, int32_t id, const std::string& title)
{
    WriteHeader(s, version, id);
    s.WriteString(title);
    s.WriteString("c");
    s.WriteBool(false);
}

void WriteTail(MemoryStream& s, int32_t kind = 3, bool selected = true)
{
    s.WriteInt32(kind);
    s.WriteBool(selected);
    WriteInts(s, {0, 0});
}

// A category body with `count` categories nested as first children (subs) or as a sibling chain (nexts), all
// written inside the first body as the format does.
MemoryStream NestedStream(int count, bool asSubs)
{
    MemoryStream s;
    for (int i = 0; i < count; ++i) {
        WriteHead(s, 3, i + 1, "n");
        if (i + 1 == count)
            break;
        if (!asSubs)
            s.WriteString("NP");
        s.WriteString("P");
        s.WriteString("evCategory");
    }
    s.WriteString("NP");
    s.WriteString("NP");
    WriteTail(s);
    for (int i = count - 2; i >= 0; --i) {
        if (asSubs)
            s.WriteString("NP");
        WriteTail(s);
    }
    return s;
}

// Chapter tree used by the page-order tests:
//   A(1) [ A1(2), A2(opt, not selected)(3) [ A2a(4) ], A3(0 page layout) [ A3a(5) ] ], B(6), C(opt, selected)(7)
std::unique_ptr<evCategory> PageOrderTree()
{
    auto a = Cat("A", 1);
    a->AddChild(Cat("A1", 2, 2));
    auto a2 = Cat("A2", 3, 3, true);
    a2->SetSelected(false);
    a2->AddChild(Cat("A2a", 4));
    a->AddChild(std::move(a2));
    auto a3 = Cat("A3", 0, 2);
    a3->AddChild(Cat("A3a", 5));
    a->AddChild(std::move(a3));
    a->AppendSibling(Cat("B", 6, 2));
    a->AppendSibling(Cat("C", 7, 3, true));
    return a;
}

} // namespace

// Version 0 holds three numbers that are dropped, version 1 the kind, version 2 the kind and whether the page is
// selected; the rest is read as defaults, and each is written as version 3.
TEST(evCategoryTest, OlderVersionsReadDefaultsAndAreWrittenAsVersion3)
{
    for (int32_t version : {0, 1, 2}) {
        SCOPED_TRACE(version);
        MemoryStream in;
        WriteHead(in, version, 12, "Old");
        in.WriteString("NP");
        in.WriteString("NP");
        if (version == 0)
            WriteInts(in, {9, 9, 9});
        else
            in.WriteInt32(5);
        if (version == 2)
            in.WriteBool(false);
        auto category = ReadCategory(in);
        EXPECT_EQ(in.Remaining(), 0);
        const int32_t kind = version == 0 ? 3 : 5;
        EXPECT_EQ(category->GetKind(), kind);
        EXPECT_EQ(category->GetSelected(), version != 2);
        EXPECT_EQ(category->GetPageLayoutID(), 0);
        EXPECT_EQ(category->GetUserElements().Count(), 0);
        EXPECT_TRUE(category->IsDirty());
        EXPECT_TRUE(category->RenderFailed());

        MemoryStream expected;
        WriteHead(expected, 3, 12, "Old");
        expected.WriteString("NP");
        expected.WriteString("NP");
        WriteTail(expected, kind, version != 2);
        EXPECT_EQ(SavedBody(*category), expected.Data());
    }
}

TEST(evCategoryTest, TreeRoundTripsAndLinksAreRebuilt)
{
    auto tree = PageOrderTree();
    tree->GetNext()->AddUserElement(44, std::make_unique<evHelptext>("h", 1, "t"));
    const std::vector<uint8_t> bytes = SavedBody(*tree);
    MemoryStream in(bytes);
    auto read = ReadCategory(in);
    EXPECT_EQ(in.Remaining(), 0);
    EXPECT_EQ(SavedBody(*read), bytes);
    EXPECT_EQ(read->ToString(), tree->ToString());

    evCategory* a1 = read->GetSub();
    evCategory* a2 = a1->GetNext();
    EXPECT_EQ(a1->GetParent(), read.get());
    EXPECT_EQ(a2->GetPrevious(), a1);
    EXPECT_EQ(a2->GetParent(), nullptr); // only a first child has its parent
    EXPECT_EQ(a2->GetEffectiveParent(), read.get());
    EXPECT_EQ(a2->GetSub()->GetParent(), a2);
    EXPECT_EQ(read->GetNext()->GetPrevious(), read.get());
    EXPECT_EQ(read->GetPrevious(), nullptr);
    EXPECT_EQ(read->GetEffectiveParent(), nullptr);
    EXPECT_EQ(PageOrder::SiblingCount(a2), 3);
    EXPECT_EQ(PageOrder::SiblingCount(read->GetNext()), 3);
    EXPECT_EQ(PageOrder::SiblingCount(nullptr), 0);
    EXPECT_EQ(read->GetNext()->GetUserElements().Count(), 1);
}

TEST(evCategoryTest, DestroyingOneCategoryKeepsItsSiblingsLinked)
{
    auto root = Cat("A");
    root->AddChild(Cat("A1"));
    root->AddChild(Cat("A2"));
    root->AddChild(Cat("A3"));
    root->GetSub()->AddChild(Cat("A1a"));
    root->AppendSibling(Cat("B"));
    root->AppendSibling(Cat("C"));

    evCategory::Destroy(root->GetNext()); // middle sibling B
    EXPECT_EQ(root->GetNext()->GetTitle(), "C");
    EXPECT_EQ(root->GetNext()->GetPrevious(), root.get());

    evCategory::Destroy(root->GetSub()); // first child A1 with its own child
    evCategory* first = root->GetSub();
    EXPECT_EQ(first->GetTitle(), "A2");
    EXPECT_EQ(first->GetParent(), root.get());
    EXPECT_EQ(first->GetPrevious(), nullptr);
    EXPECT_EQ(first->GetNext()->GetTitle(), "A3");

    evCategory::Destroy(first->GetNext()); // last child
    EXPECT_EQ(first->GetNext(), nullptr);

    EXPECT_THROW(evCategory::Destroy(root.get()), EVelloraError);
    std::unique_ptr<evCategory> rest = evCategory::DestroyFirst(std::move(root));
    ASSERT_NE(rest, nullptr);
    EXPECT_EQ(rest->GetTitle(), "C");
    EXPECT_EQ(rest->GetPrevious(), nullptr);
    evCategory::DestroyAll(std::move(rest));
}

TEST(evCategoryTest, FlattenSkipsExcludedAndUnboundCategoriesWithTheirChildren)
{
    auto tree = PageOrderTree();
    std::vector<evCategory*> all;
    PageOrder::Flatten(tree.get(), all, false);
    EXPECT_EQ(Titles(all), (std::vector<std::string>{"A", "A1", "A2", "A2a", "A3", "A3a", "B", "C"}));
    std::vector<evCategory*> included;
    PageOrder::Flatten(tree.get(), included, true);
    EXPECT_EQ(Titles(included), (std::vector<std::string>{"A", "A1", "B", "C"}));

    evCategory* b = tree->GetNext();
    EXPECT_EQ(PageOrder::IndexOfCategory(b, true), 2);
    EXPECT_EQ(PageOrder::IndexOfCategory(b, false), 6);
    evCategory* a3a = tree->GetSub()->GetNext()->GetNext()->GetSub();
    EXPECT_EQ(PageOrder::IndexOfCategory(a3a, false), 5);
    EXPECT_EQ(PageOrder::IndexOfCategory(a3a, true), -1);
    EXPECT_EQ(PageOrder::IndexOfKind(a3a, 2, true), 1);
    EXPECT_EQ(PageOrder::IndexOfKind(a3a, 9, true), -1);
    EXPECT_EQ(PageOrder::CategoryAt(tree.get(), 3, true), tree->GetNext()->GetNext());
    EXPECT_THROW(PageOrder::CategoryAt(tree.get(), 4, true), EListError);
    EXPECT_THROW(PageOrder::CategoryAt(tree.get(), -1, true), EListError);
}

namespace {

// A project whose design holds:
//   1000 kind 2: picture slot 10 (entry 20, at 5,5), fixed picture slot 12 (entry 22), text slot 11 (entry 21),
//                picture slot 13 (entry 23, fixed) named by an enlarge-on-hover action element
//   1001 kind 0: text slot 14 (entry 24)
//   1002 kind 1: picture slot 15 (entry 25)
class CategoryPageTest : public TempFolderTest {
protected:
    void SetUp() override
    {
        TempFolderTest::SetUp();
        auto design = std::make_unique<evLayout>("Rose", "", 40, 30);
        evPageLayout* both = AddPageLayout(*design, 1000, 2);
        PlaceOwnElement(*both, Slot(10, 10, 8, 0), 20, 5, 5);
        PlaceOwnElement(*both, Slot(12, 4, 4, 1), 22);
        PlaceOwnElement(*both, Field(11), 21, 20, 20);
        PlaceOwnElement(*both, Slot(13, 4, 4, 1), 23, 30, 0);
        auto hover = std::make_unique<evActionElement>("hover", 10, 0, 0, 1, 1);
        hover->SetFirstSlot(23);
        both->AddActionElement(std::move(hover));
        PlaceOwnElement(*AddPageLayout(*design, 1001, 0), Field(14), 24);
        PlaceOwnElement(*AddPageLayout(*design, 1002, 1), Slot(15, 4, 4, 0), 25);
        m_project = std::make_unique<evProject>("A", "B", 0.0, "Rose.evl", Cat("root"));
        m_project->SetDesign(std::move(design));
        m_root = m_project->GetFirstCategory();
    }
    void TearDown() override
    {
        m_project.reset();
        TempFolderTest::TearDown();
    }
    static std::unique_ptr<evUserTextfield> Field(int32_t id, const std::string& text = "")
    {
        return WithID(std::make_unique<evUserTextfield>("t", text, "Arial", 0, 8, false, false, false, 0, 10, 6), id);
    }
    static std::unique_ptr<evUserPicture> Slot(int32_t id, int width, int height, int32_t fixed)
    {
        auto slot = WithID(std::make_unique<evUserPicture>("p", width, height), id);
        slot->SetFixed(fixed);
        return slot;
    }
    evCategory* Bound(std::unique_ptr<evCategory> category, int32_t layoutId)
    {
        evCategory* raw = category.get();
        category->SetPageLayoutID(layoutId);
        category->SetProject(m_project.get());
        m_root->AppendSibling(std::move(category));
        return raw;
    }

    std::unique_ptr<evProject> m_project;
    evCategory* m_root = nullptr;
};

} // namespace

TEST_F(CategoryPageTest, CompletenessBits)
{
    evCategory* page = Bound(Cat("page"), 1000);
    EXPECT_EQ(GetCompleteness(*page), cbLayoutSet);
    page->AddUserElement(10, SolidPicture(4, 4, kRed));
    EXPECT_EQ(GetCompleteness(*page), cbLayoutSet); // the hover slot is still empty
    page->AddUserElement(13, SolidPicture(4, 4, kRed));
    EXPECT_EQ(GetCompleteness(*page), cbLayoutSet | cbPicturesFilled);
    page->AddUserElement(11, SolidPicture(4, 4, kRed)); // not a text: counts as empty, without failing
    EXPECT_EQ(GetCompleteness(*page), cbLayoutSet | cbPicturesFilled);
    page->FindUserEntry(11)->SetElement(Field(11, " \r\n\t"));
    EXPECT_EQ(GetCompleteness(*page), cbLayoutSet | cbPicturesFilled);
    page->FindUserEntry(11)->SetElement(Field(11, " Hi "));
    EXPECT_EQ(GetCompleteness(*page), cbLayoutSet | cbPicturesFilled | cbTextsFilled);
    EXPECT_TRUE(IsComplete(page));

    EXPECT_EQ(GetCompleteness(*Bound(Cat("text only"), 1001)), cbLayoutSet | cbNoPictures);
    EXPECT_EQ(GetCompleteness(*Bound(Cat("pictures only", 0, 1), 1002)), cbNotKind3 | cbNoTexts);
    EXPECT_EQ(GetCompleteness(*Bound(Cat("unknown"), 4711)), cbLayoutSet);
    EXPECT_EQ(GetCompleteness(*Cat("free")), 0);
}

TEST(evCategoryTest, DeepTreesAndLongChainsNeedNoDeepStack)
{
    for (bool asSubs : {true, false}) {
        SCOPED_TRACE(asSubs ? "subs" : "chain");
        const int count = 50000;
        MemoryStream in = NestedStream(count, asSubs);
        auto tree = ReadCategory(in);
        EXPECT_EQ(in.Remaining(), 0);
        EXPECT_EQ(SavedBody(*tree), in.Data());
        std::vector<evCategory*> list;
        PageOrder::Flatten(tree.get(), list, false);
        EXPECT_EQ(static_cast<int>(list.size()), count);
        EXPECT_EQ(PageOrder::IndexOfCategory(list.back(), false), count - 1);
        EXPECT_EQ(PageOrder::CountIncluded(tree.get(), false), count);
        auto copy = tree->CloneCategory();
        EXPECT_TRUE(copy->IsEqual(tree.get()));
        EXPECT_GT(tree->ToString().size(), static_cast<size_t>(count) * 100);
        copy.reset();
        evCategory::DestroyAll(std::move(tree));
    }
}

TEST(evCategoryTest, TooDeepATreeOrALinkToAnotherClassIsARefusedFile)
{
    MemoryStream deep = NestedStream(evCategory::kMaxTreeDepth + 2, true);
    EXPECT_THROW(ReadCategory(deep), EReadError);
    MemoryStream link;
    WriteHead(link, 3, 1, "x");
    WriteObject(link, std::make_unique<evHelptext>("h", 1, "t").get());
    link.WriteString("NP");
    WriteTail(link);
    EXPECT_THROW(ReadCategory(link), EReadError);
}

TEST(evCategoryEntryTest, StreamTextAndClone)
{
    evCategoryEntry entry(7, SolidPicture(2, 2, kRed));
    MemoryStream s;
    entry.SaveToStream(s);
    s.SetPosition(0);
    evCategoryEntry read(s, nullptr);
    EXPECT_EQ(s.Remaining(), 0);
    EXPECT_EQ(read.GetSlotID(), 7);
    EXPECT_EQ(read.ToString(), "evCategoryEntry[0, 0, 7, evPicture[0, 0, 'solid']]");
    auto copy = read.Clone();
    EXPECT_EQ(copy->ToString(), "evCategoryEntry[0, 0, 7, evPicture[0, 0, 'solid']]");
    evCategoryEntry other(3, std::make_unique<evHelptext>("h", 1, "t"));
    EXPECT_EQ(other.Clone()->ToString(), "evCategoryEntry[0, 0, 3, nil]");
}
