#include "model/evCategory.h"

#include "platform/Errors.h"
#include "platform/Stream.h"

#include <string>
#include <utility>
#include <vector>

namespace {

// What is left of a frame of the hand-kept stacks below: the links come first, then the fields behind them.
enum class Stage { Sub, Next, Tail };

std::string BoolText(bool value) { return value ? "true, " : "false, "; }

} // namespace

evCategory::evCategory(Stream& stream, HeadOnly) : evObject(stream, nullptr) { ReadHead(stream); }

// The body of every category of the tree is read here, the nested ones included, without recursion; see the
// layout above the class.
evCategory::evCategory(Stream& stream, ProgressBar* progress) : evObject(stream, progress)
{
    ReadHead(stream);
    ReadTree(stream, progress);
}

void evCategory::ReadHead(Stream& stream)
{
    m_userElements = std::make_unique<evObjectCollection>();
    m_title = stream.ReadString();
    m_comment = stream.ReadString();
    m_optional = stream.ReadBool();
}

//   (3 x int32 discarded      version 0)
//   int32 kind                version >= 1, else 3
//   byte selected             version >= 2, else true
//   int32 page layout id      version >= 3, else 0
//   collection user elements  version >= 3, else empty
void evCategory::ReadTail(Stream& stream, ProgressBar* progress)
{
    const int32_t version = GetStoredVersion();
    if (version == 0) {
        for (int i = 0; i < 3; ++i)
            (void)stream.ReadInt32();
    }
    m_kind = version >= 1 ? stream.ReadInt32() : 3;
    m_selected = version >= 2 ? stream.ReadBool() : true;
    if (version >= 3) {
        m_pageLayoutId = stream.ReadInt32();
        m_userElements = std::make_unique<evObjectCollection>(stream, progress);
    }
}

// A sub or next reference: "NP" (or any tag but "P") for none, else "P", "evCategory" and a category's head.
std::unique_ptr<evCategory> evCategory::ReadLink(Stream& stream)
{
    if (stream.ReadString() != "P")
        return nullptr;
    const std::string className = stream.ReadString();
    if (className != kClassName)
        throw EReadError("Unexpected class \"" + className + "\" in a category tree");
    return std::unique_ptr<evCategory>(new evCategory(stream, HeadOnly{}));
}

void evCategory::ReadTree(Stream& stream, ProgressBar* progress)
{
    struct Frame {
        evCategory* category;
        Stage stage;
        int depth;
    };
    std::vector<Frame> stack{{this, Stage::Sub, 0}};
    while (!stack.empty()) {
        Frame& frame = stack.back();
        evCategory* category = frame.category;
        if (frame.stage == Stage::Tail) {
            // Only the outermost category passes its progress bar on; the nested ones were read without it.
            category->ReadTail(stream, category == this ? progress : nullptr);
            stack.pop_back();
            continue;
        }
        const bool isSub = frame.stage == Stage::Sub;
        const int depth = frame.depth + (isSub ? 1 : 0);
        frame.stage = isSub ? Stage::Next : Stage::Tail;
        std::unique_ptr<evCategory> link = ReadLink(stream);
        if (!link)
            continue;
        if (depth > kMaxTreeDepth)
            throw EReadError("Stream read error: the category tree is nested too deeply");
        evCategory* child = link.get();
        if (isSub) {
            category->m_sub = std::move(link);
            child->m_parent = category;
        } else {
            category->m_next = std::move(link);
            child->m_previous = category;
        }
        stack.push_back({child, Stage::Sub, depth});
    }
    m_parent = nullptr;
    m_previous = nullptr;
}

void evCategory::WriteHead(Stream& stream) const
{
    evObject::SaveToStream(stream);
    stream.WriteString(m_title);
    stream.WriteString(m_comment);
    stream.WriteBool(m_optional);
}

void evCategory::WriteTail(Stream& stream) const
{
    stream.WriteInt32(m_kind);
    stream.WriteBool(m_selected);
    stream.WriteInt32(m_pageLayoutId);
    if (!m_userElements->SaveToStream(stream))
        stream.RaiseWriteFailure();
}

void evCategory::SaveToStream(Stream& stream) const
{
    std::vector<std::pair<const evCategory*, Stage>> stack{{this, Stage::Sub}};
    WriteHead(stream);
    while (!stack.empty()) {
        auto& [category, stage] = stack.back();
        if (stage == Stage::Tail) {
            category->WriteTail(stream);
            stack.pop_back();
            continue;
        }
        const evCategory* link = stage == Stage::Sub ? category->m_sub.get() : category->m_next.get();
        stage = stage == Stage::Sub ? Stage::Next : Stage::Tail;
        if (!link) {
            stream.WriteString("NP");
            continue;
        }
        stream.WriteString("P");
        stream.WriteString(kClassName);
        link->WriteHead(stream);
        stack.push_back({link, Stage::Sub});
    }
}

std::unique_ptr<evCategory> evCategory::CopyOwnFields() const
{
    auto copy = std::make_unique<evCategory>(m_title, m_comment, m_optional, m_kind);
    copy->m_project = m_project;
    copy->m_userElements = m_userElements->Clone();
    copy->m_selected = m_selected;
    copy->SetStoredVersion(GetStoredVersion());
    copy->SetPageLayoutID(m_pageLayoutId);
    return copy;
}

std::unique_ptr<evCategory> evCategory::CloneCategory() const
{
    std::unique_ptr<evCategory> root = CopyOwnFields();
    std::vector<std::pair<const evCategory*, evCategory*>> stack{{this, root.get()}};
    while (!stack.empty()) {
        auto [source, copy] = stack.back();
        stack.pop_back();
        if (source->m_sub) {
            copy->m_sub = source->m_sub->CopyOwnFields();
            copy->m_sub->m_parent = copy;
            stack.push_back({source->m_sub.get(), copy->m_sub.get()});
        }
        if (source->m_next) {
            copy->m_next = source->m_next->CopyOwnFields();
            copy->m_next->m_previous = copy;
            stack.push_back({source->m_next.get(), copy->m_next.get()});
        }
    }
    return root;
}

std::unique_ptr<evObject> evCategory::Clone() const { return CloneCategory(); }

bool evCategory::IsEqual(const evObject* other) const
{
    const auto* otherCategory = dynamic_cast<const evCategory*>(other);
    if (!otherCategory || std::string(other->ClassName()) != kClassName)
        return false;
    std::vector<std::pair<const evCategory*, const evCategory*>> stack{{this, otherCategory}};
    while (!stack.empty()) {
        auto [a, b] = stack.back();
        stack.pop_back();
        if (a->m_title != b->m_title || a->m_comment != b->m_comment || a->m_optional != b->m_optional)
            return false;
        if ((a->m_sub == nullptr) != (b->m_sub == nullptr) || (a->m_next == nullptr) != (b->m_next == nullptr))
            return false;
        if (a->m_sub)
            stack.push_back({a->m_sub.get(), b->m_sub.get()});
        if (a->m_next)
            stack.push_back({a->m_next.get(), b->m_next.get()});
    }
    return true;
}

void evCategory::AppendTextHead(std::string& text) const
{
    text += "evCategory[id:" + std::to_string(GetID()) + ", title: '" + m_title + "', prev: ";
    text += m_previous ? m_previous->m_title + ", parent: " : "nil, parent: ";
    text += m_parent ? m_parent->m_title + ", sub: " : "nil, sub: ";
}

void evCategory::AppendTextTail(std::string& text) const
{
    text += ", comment: '" + m_comment + "', optional: " + BoolText(m_optional) +
            ", selected: " + BoolText(m_selected) + "kind: " + std::to_string(m_kind) +
            ", pageLayout: " + std::to_string(m_pageLayoutId) + ", userElements: " + m_userElements->ToString() + "]";
}

std::string evCategory::ToString() const
{
    std::string text;
    std::vector<std::pair<const evCategory*, Stage>> stack{{this, Stage::Sub}};
    AppendTextHead(text);
    while (!stack.empty()) {
        auto& [category, stage] = stack.back();
        if (stage == Stage::Tail) {
            category->AppendTextTail(text);
            stack.pop_back();
            continue;
        }
        const evCategory* link = stage == Stage::Sub ? category->m_sub.get() : category->m_next.get();
        if (stage == Stage::Next)
            text += ", next: ";
        stage = stage == Stage::Sub ? Stage::Next : Stage::Tail;
        if (!link) {
            text += "nil";
            continue;
        }
        link->AppendTextHead(text);
        stack.push_back({link, Stage::Sub});
    }
    return text;
}
