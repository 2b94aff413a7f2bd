#include "PageLayoutBuilder.h"

#include "ObjectIds.h"
#include "model/evActionElement.h"
#include "model/evPageLayout.h"
#include "model/evPageLayoutEntry.h"
#include "model/evUserPicture.h"
#include "model/evUserTextfield.h"
#include "platform/Color.h"

#include <algorithm>
#include <cmath>

using LabelUse = PageLayoutBuilder::LabelUse;
using SlotUse = PageLayoutBuilder::SlotUse;
using ActionType = PageLayoutBuilder::ActionType;

namespace {

constexpr int kFilmStrip = 15;
constexpr int kSlideShow = 16;

constexpr ActionType kActionTypes[] = {
    {0, "exit", LabelUse::Fixed, SlotUse::None, SlotUse::None},
    {1, "back", LabelUse::Fixed, SlotUse::None, SlotUse::None},
    {2, "sound", LabelUse::Fixed, SlotUse::None, SlotUse::None},
    {8, "title", LabelUse::Fixed, SlotUse::None, SlotUse::None},
    {9, "chapter menu", LabelUse::Fixed, SlotUse::None, SlotUse::None},
    {10, "enlarge", LabelUse::None, SlotUse::AnyPhoto, SlotUse::FixedPhoto},
    {11, "project title", LabelUse::Fixed, SlotUse::None, SlotUse::None},
    {12, "date", LabelUse::Fixed, SlotUse::None, SlotUse::None},
    {13, "close", LabelUse::None, SlotUse::None, SlotUse::None},
    {14, "next", LabelUse::None, SlotUse::None, SlotUse::None},
    {15, "film strip", LabelUse::None, SlotUse::FixedPhoto, SlotUse::FixedPhoto},
    {16, "slide show", LabelUse::None, SlotUse::FixedPhoto, SlotUse::None},
    {17, "studio intro", LabelUse::Free, SlotUse::None, SlotUse::None},
    {18, "studio name", LabelUse::Free, SlotUse::None, SlotUse::None},
    {19, "studio address", LabelUse::Free, SlotUse::None, SlotUse::None},
    {20, "studio information", LabelUse::Free, SlotUse::None, SlotUse::None},
    {21, "studio phone", LabelUse::Free, SlotUse::None, SlotUse::None},
    {22, "studio email", LabelUse::Free, SlotUse::None, SlotUse::None},
    {23, "studio web", LabelUse::Free, SlotUse::None, SlotUse::None},
    {24, "extra picture", LabelUse::None, SlotUse::FixedPhoto, SlotUse::None},
    {25, "label", LabelUse::Free, SlotUse::None, SlotUse::None},
};

const ActionType* FindActionType(const JsonCursor& value)
{
    for (const ActionType& type : kActionTypes) {
        if (value.IsNumber() ? value.Int(0, 1000) == type.code : value.String() == type.name)
            return &type;
    }
    std::string known;
    for (const ActionType& type : kActionTypes)
        known += (known.empty() ? "" : ", ") + std::string(type.name);
    value.Fail("unknown action type (known: " + known + ", or their numbers)");
}

constexpr int kMaxGroupDepth = 4;
constexpr int kDiscLabelSize = 768;
// The printable ring of a disc label: the square of 768 pixels is 120 mm, the disc 118 mm across with a hole of
// 41 mm. Photos, texts and actions keep 2 mm from the outer edge and 1 mm from the hole.
constexpr double kDiscPixelsPerMm = kDiscLabelSize / 120.0;
constexpr double kRingOuterRadius = (118 / 2.0 - 2) * kDiscPixelsPerMm;
constexpr double kRingInnerRadius = (41 / 2.0 + 1) * kDiscPixelsPerMm;

// Every corner within the outer circle (the disc is convex) and the rectangle's point nearest to the centre
// outside the inner one.
bool InsideDiscRing(const QRect& rect)
{
    const double centre = kDiscLabelSize / 2.0;
    const double left = rect.x();
    const double top = rect.y();
    const double right = left + rect.width();
    const double bottom = top + rect.height();
    for (double x : {left, right})
        for (double y : {top, bottom})
            if (std::hypot(x - centre, y - centre) > kRingOuterRadius)
                return false;
    const double nearestX = std::clamp(centre, left, right);
    const double nearestY = std::clamp(centre, top, bottom);
    return std::hypot(nearestX - centre, nearestY - centre) >= kRingInnerRadius;
}

int Alignment(const JsonCursor& value)
{
    const std::string text = value.String();
    if (text == "left")
        return 0;
    if (text == "centre")
        return 1;
    if (text == "right")
        return 2;
    value.Fail("align is \"left\", \"centre\" or \"right\"");
}

// Where a photograph of the other orientation goes in a slot (the turned box of the user picture).
QRect TurnedBox(const QRect& slot, bool centred)
{
    const int w = slot.width();
    const int h = slot.height();
    const int left = slot.left() + (w - h) / 2;
    int top = slot.top();
    if (centred)
        top = h >= w ? slot.top() + h / 2 - w / 2 : slot.top() + (h - w) / 2;
    return QRect(left, top, h, w);
}

} // namespace

PageLayoutBuilder::PageLayoutBuilder(DesignContext& context, const JsonCursor& description)
    : m_context(context), m_description(description)
{
    m_description.AllowOnly({"id", "key", "name", "englishTitle", "title", "comment", "kind", "elements", "actions"});
    m_id = m_description.Field("id").Identifier();
    m_description = m_description.Named(m_id);
}

std::unique_ptr<evPageLayout> PageLayoutBuilder::Build()
{
    const int32_t layoutId = m_context.ids.Assign(m_id, m_description);
    CollectElements(m_description.Field("elements"), 0);
    if (const auto actions = m_description.Optional("actions"))
        for (const JsonCursor& action : actions->Items())
            m_actions.push_back(action);

    const std::string name = m_description.Field("name").String();
    const std::string englishTitle = m_description.Field("englishTitle").String();
    evPageLayout draft(nullptr, name, englishTitle, m_description.String("comment", ""), ReadKind());
    draft.SetKey(m_description.String("key", ""));
    draft.SetOtherTitle(m_description.String("title", englishTitle));
    std::unique_ptr<evPageLayout> layout = ObjectIds::WithID(draft, layoutId);
    for (const Item& item : m_items)
        AddItem(*layout, item);
    for (const JsonCursor& action : m_actions)
        layout->AddActionElement(MakeAction(action));
    CheckKindContent(*layout);
    return layout;
}

int32_t PageLayoutBuilder::ReadKind() const
{
    const JsonCursor value = m_description.Field("kind");
    const std::pair<const char*, int> names[] = {{"text", 0},      {"pictures", 1},  {"textAndPictures", 2},
                                                 {"pictures2", 3}, {"animation", 4}, {"special", 8}};
    for (const auto& [label, code] : names) {
        if (value.IsNumber() ? value.Int(0, 100) == code : value.String() == label)
            return code;
    }
    value.Fail("the kind is text, pictures, textAndPictures, pictures2, animation or special (or 0, 1, 2, 3, 4, 8)");
}

void PageLayoutBuilder::CollectElements(const JsonCursor& list, int depth)
{
    for (const JsonCursor& element : list.Items()) {
        if (element.Has("use"))
            CollectGroup(element, depth);
        else
            CollectItem(element);
    }
}

void PageLayoutBuilder::CollectGroup(const JsonCursor& element, int depth)
{
    element.AllowOnly({"use"});
    const std::string name = element.Field("use").Identifier();
    const auto group = m_context.groups.find(name);
    if (group == m_context.groups.end())
        element.Field("use").Fail("there is no group \"" + name + "\"");
    if (depth >= kMaxGroupDepth)
        element.Fail("groups are nested too deeply (a group that uses itself?)");
    // The group's elements are reported as parts of the page layout that uses the group.
    const JsonCursor used = group->second.WithPath(element.Path() + " \"" + name + "\"");
    used.AllowOnly({"elements", "actions"});
    CollectElements(used.Field("elements"), depth + 1);
    if (const auto actions = used.Optional("actions"))
        for (const JsonCursor& action : actions->Items())
            m_actions.push_back(action);
}

void PageLayoutBuilder::CollectItem(const JsonCursor& raw)
{
    raw.AllowOnly({"id", "at", "picture", "photo", "text"});
    Item item;
    item.index = m_items.size();
    item.name = raw.Has("id") ? raw.Field("id").Identifier() : "#" + std::to_string(item.index);
    item.cursor = raw.Named(item.name);
    const JsonCursor& element = item.cursor;
    if (m_byName.count(item.name) != 0)
        element.Fail("the identifier \"" + item.name + "\" is used twice in this page layout");
    const std::vector<int> at = element.Field("at").Ints(2, -10000, 10000);
    item.at = QPoint(at[0], at[1]);
    const int kinds = int(element.Has("picture")) + int(element.Has("photo")) + int(element.Has("text"));
    if (kinds != 1)
        element.Fail("an element places exactly one of \"picture\", \"photo\", \"text\" (or is a \"use\")");
    if (element.Has("picture")) {
        item.kind = Kind::Picture;
        const std::string picture = element.Field("picture").Identifier();
        const auto found = m_context.pictures.find(picture);
        if (found == m_context.pictures.end())
            element.Field("picture").Fail("there is no picture \"" + picture + "\"");
        item.size = found->second.size;
        item.placeholder = found->second.placeholder;
        item.elementId = found->second.id;
    } else {
        item.kind = element.Has("photo") ? Kind::Photo : Kind::Text;
        const JsonCursor content = element.Field(item.kind == Kind::Photo ? "photo" : "text");
        const std::vector<int> size = content.Field("size").Ints(2, 1, 10000);
        item.size = QSize(size[0], size[1]);
        item.fixed = content.Bool("fixed", false);
        item.elementId = m_context.ids.Assign(Qualified(item.name) + "/content", element);
    }
    CheckInsidePage(element, QRect(item.at, item.size));
    if (item.kind != Kind::Picture)
        CheckInsideDiscRing(element, QRect(item.at, item.size));
    item.entryId = m_context.ids.Assign(Qualified(item.name), element);
    m_byName[item.name] = m_items.size();
    m_items.push_back(item);
}

void PageLayoutBuilder::CheckInsidePage(const JsonCursor& where, const QRect& rect) const
{
    const QRect page(QPoint(0, 0), m_context.pageSize);
    if (!page.contains(rect))
        where.Fail("lies outside the page (" + std::to_string(rect.x()) + ", " + std::to_string(rect.y()) + ", " +
                   std::to_string(rect.width()) + " x " + std::to_string(rect.height()) + ")");
    if (m_description.String("key", "") == "cd" && !QRect(0, 0, kDiscLabelSize, kDiscLabelSize).contains(rect))
        where.Fail("a disc label draws within the top-left 768 x 768 square; this lies outside it");
}

void PageLayoutBuilder::CheckInsideDiscRing(const JsonCursor& where, const QRect& rect) const
{
    if (m_description.String("key", "") == "cd" && !InsideDiscRing(rect))
        where.Fail("a disc label's photos, texts and actions lie in the printable ring, at most 57 mm from the centre "
                   "and at least 21.5 mm; this does not");
}

const PageLayoutBuilder::Item& PageLayoutBuilder::Resolve(const JsonCursor& reference) const
{
    const std::string name = reference.Identifier();
    const auto found = m_byName.find(name);
    if (found == m_byName.end())
        reference.Fail("there is no element \"" + name + "\" in this page layout");
    return m_items[found->second];
}

void PageLayoutBuilder::AddItem(evPageLayout& layout, const Item& item)
{
    if (item.kind == Kind::Photo)
        layout.AddOwnElement(MakePhoto(item));
    else if (item.kind == Kind::Text)
        layout.AddOwnElement(MakeText(item));
    const evPageLayoutEntry entry(item.at.x(), item.at.y(), 0, item.elementId);
    layout.GetEntries().Add(ObjectIds::WithID(entry, item.entryId));
}

std::unique_ptr<evObject> PageLayoutBuilder::MakePhoto(const Item& item)
{
    const JsonCursor photo = item.cursor.Field("photo");
    photo.AllowOnly({"size", "frame", "alternateFrame", "centred", "fixed"});
    evUserPicture slot(item.name, item.size.width(), item.size.height());
    slot.SetFixed(item.fixed ? 1 : 0);
    const bool centred = photo.Bool("centred", false);
    slot.SetCentred(centred ? 1 : 0);
    for (const char* key : {"frame", "alternateFrame"}) {
        const auto reference = photo.Optional(key);
        if (!reference)
            continue;
        const Item& frame = Resolve(*reference);
        CheckFrame(item, frame, std::string(key) == "alternateFrame", centred);
        if (std::string(key) == "frame")
            slot.SetFrameID(frame.entryId);
        else
            slot.SetAlternateFrameID(frame.entryId);
    }
    if (slot.GetAlternateFrameID() != 0 && item.size.width() == item.size.height())
        photo.Fail("a square slot never turns a photograph; an alternate frame is of no use here");
    return ObjectIds::WithID(slot, item.elementId);
}

void PageLayoutBuilder::CheckFrame(const Item& slot, const Item& frame, bool alternate, bool centred) const
{
    const JsonCursor where = slot.cursor.Field("photo").Field(alternate ? "alternateFrame" : "frame");
    if (frame.kind != Kind::Picture || !frame.placeholder)
        where.Fail("a frame must be a placement of a picture marked \"placeholder\": true, or the page would "
                   "draw it for every photograph");
    if (frame.index > slot.index)
        where.Fail("the frame must be placed before its slot, so that a click on the slot finds the slot");
    const QRect slotRect(slot.at, slot.size);
    const QRect covered = alternate ? TurnedBox(slotRect, centred) : slotRect;
    if (!QRect(frame.at, frame.size).contains(covered))
        where.Fail("the frame does not surround the place of the photograph (" + std::to_string(covered.x()) + ", " +
                   std::to_string(covered.y()) + ", " + std::to_string(covered.width()) + " x " +
                   std::to_string(covered.height()) + ")");
}

// A value of a text field: the field's own, else its style's.
std::optional<JsonCursor> PageLayoutBuilder::TextValue(const JsonCursor& text, const char* key) const
{
    if (const auto own = text.Optional(key))
        return own;
    const auto style = text.Optional("style");
    if (!style)
        return std::nullopt;
    const auto found = m_context.textStyles.find(style->Identifier());
    if (found == m_context.textStyles.end())
        style->Fail("there is no text style \"" + style->String() + "\"");
    return found->second.Optional(key);
}

std::unique_ptr<evObject> PageLayoutBuilder::MakeText(const Item& item)
{
    const JsonCursor text = item.cursor.Field("text");
    text.AllowOnly(
        {"size", "style", "font", "fontSize", "bold", "italic", "underline", "align", "colour", "text", "fixed"});
    const auto fontRef = TextValue(text, "font");
    const auto size = TextValue(text, "fontSize");
    const auto colour = TextValue(text, "colour");
    if (!fontRef || !size || !colour)
        text.Fail("a text needs a \"font\", a \"fontSize\" and a \"colour\" (its own or its style's)");
    const auto font = m_context.fonts.find(fontRef->Identifier());
    if (font == m_context.fonts.end())
        fontRef->Fail("there is no font \"" + fontRef->String() + "\"");
    auto flag = [&](const char* key) {
        const auto value = TextValue(text, key);
        return value ? value->Bool() : false;
    };
    const auto align = TextValue(text, "align");
    // Paragraphs are separated by CR LF in the model.
    std::string content = text.String("text", "");
    for (size_t at = content.find('\n'); at != std::string::npos; at = content.find('\n', at + 2))
        content.replace(at, 1, "\r\n");
    evUserTextfield field(item.name, content, font->second.face, font->second.id, size->Int(4, 400), flag("bold"),
                          flag("italic"), flag("underline"), align ? Alignment(*align) : 0, item.size.width(),
                          item.size.height());
    field.SetColour(FromQColor(m_context.painter->Colour(*colour)));
    field.SetFixed(item.fixed ? 1 : 0);
    return ObjectIds::WithID(field, item.elementId);
}

std::unique_ptr<evActionElement> PageLayoutBuilder::MakeAction(const JsonCursor& raw)
{
    raw.AllowOnly({"id", "type", "rect", "label", "slot", "secondSlot", "speed", "direction", "interval"});
    const std::string name =
        raw.Has("id") ? raw.Field("id").Identifier() : "#action" + std::to_string(m_actionTypes.size());
    const JsonCursor action = raw.Named(name);
    const ActionType& type = *FindActionType(action.Field("type"));
    const std::vector<int> r = action.Field("rect").Ints(4, 0, 10000);
    CheckInsidePage(action, QRect(r[0], r[1], r[2], r[3]));
    CheckInsideDiscRing(action, QRect(r[0], r[1], r[2], r[3]));
    if (m_byName.count(name) != 0)
        action.Fail("the identifier \"" + name + "\" is used by an element of this page layout too");
    evActionElement element(name, type.code, r[0], r[1], r[2], r[3]);
    ReadActionLabel(action, type, element);
    ReadActionSlot(action, "slot", type.first, type, element);
    ReadActionSlot(action, "secondSlot", type.second, type, element);
    ReadActionValues(action, type, element);
    m_actionTypes.push_back(type.code);
    return ObjectIds::WithID(element, m_context.ids.Assign(Qualified(name), action));
}

void PageLayoutBuilder::Forbid(const JsonCursor& action, const ActionType& type, const char* key) const
{
    if (action.Has(key))
        action.Field(key).Fail(std::string("an action of type \"") + type.name + "\" has no \"" + key + "\"");
}

void PageLayoutBuilder::ReadActionLabel(const JsonCursor& action, const ActionType& type,
                                        evActionElement& element) const
{
    if (type.label == LabelUse::None) {
        Forbid(action, type, "label");
        return;
    }
    const Item& label = Resolve(action.Field("label"));
    if (label.kind != Kind::Text)
        action.Field("label").Fail("the label must be a text element");
    if (type.label == LabelUse::Fixed && !label.fixed)
        action.Field("label").Fail("this label's text is set by the action: mark the text \"fixed\": true");
    if (type.label == LabelUse::Free && label.fixed)
        action.Field("label").Fail("this text is written by the user or the studio: it must not be fixed");
    element.SetLabel(label.entryId);
    // The studio marks name their text field as their first slot too, for readers that follow that one.
    if (type.code >= 17 && type.code <= 23)
        element.SetFirstSlot(label.entryId);
}

void PageLayoutBuilder::ReadActionSlot(const JsonCursor& action, const char* key, SlotUse use, const ActionType& type,
                                       evActionElement& element) const
{
    if (use == SlotUse::None) {
        Forbid(action, type, key);
        return;
    }
    const Item& slot = Resolve(action.Field(key));
    if (slot.kind != Kind::Photo)
        action.Field(key).Fail("must name a photo element");
    if (use == SlotUse::FixedPhoto && !slot.fixed)
        action.Field(key).Fail("the action draws this slot itself: mark the photo \"fixed\": true");
    if (std::string(key) == "slot")
        element.SetFirstSlot(slot.entryId);
    else
        element.SetSecondSlot(slot.entryId);
}

void PageLayoutBuilder::ReadActionValues(const JsonCursor& action, const ActionType& type,
                                         evActionElement& element) const
{
    if (type.code == kFilmStrip) {
        element.SetValueA(action.Int("speed", 40, 1, 2000));
        const std::string direction = action.String("direction", "left");
        const char* directions[] = {"left", "right", "down", "up"};
        const auto found = std::find(std::begin(directions), std::end(directions), direction);
        if (found == std::end(directions))
            action.Field("direction").Fail("the direction is \"left\", \"right\", \"down\" or \"up\"");
        element.SetValueB(static_cast<int32_t>(found - std::begin(directions)));
    } else {
        Forbid(action, type, "speed");
        Forbid(action, type, "direction");
    }
    if (type.code == kSlideShow)
        element.SetValueA(action.Int("interval", 3000, 300, 600000));
    else
        Forbid(action, type, "interval");
}

// The editors and the completeness test rely on what each kind holds.
void PageLayoutBuilder::CheckKindContent(const evPageLayout& layout) const
{
    int freeTexts = 0;
    int freePhotos = 0;
    for (const Item& item : m_items) {
        freeTexts += item.kind == Kind::Text && !item.fixed;
        freePhotos += item.kind == Kind::Photo && !item.fixed;
    }
    auto hasType = [&](std::initializer_list<int> codes) {
        return std::any_of(m_actionTypes.begin(), m_actionTypes.end(),
                           [&](int code) { return std::find(codes.begin(), codes.end(), code) != codes.end(); });
    };
    const int kind = layout.GetKind();
    const JsonCursor where = m_description.Field("kind");
    if (kind == 0 && freePhotos > 0)
        where.Fail("a text page has no photo to fill (mark the photo fixed or change the kind)");
    if ((kind == 0 || kind == 2) && freeTexts == 0)
        where.Fail("this kind of page needs at least one text for the user (not fixed)");
    if ((kind == 1 || kind == 3 || kind == 4) && freeTexts > 0)
        where.Fail("a pictures or animation page has no text to fill (mark the text fixed or change the kind)");
    if ((kind == 1 || kind == 2 || kind == 3) && freePhotos == 0 && !hasType({10}))
        where.Fail("this kind of page needs at least one photo for the user (not fixed)");
    if (kind == 4 && !hasType({10, 15, 16}))
        where.Fail("an animation page needs an action of type enlarge, film strip or slide show");
}
