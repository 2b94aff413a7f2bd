#pragma once
// Builds one page layout of a design description:
//
//   {"id": "welcome", "key": "W", "name": "Welcome", "englishTitle": "...", "title": "...", "comment": "...",
//    "kind": "special",
//    "elements": [ ELEMENT, ... ],        placements in drawing order
//    "actions":  [ ACTION, ... ]}
//
// ELEMENT places something at "at": [x, y] and has an optional "id" (needed when something refers to it):
//   {"picture": PICTURE}                             a shared picture of the design
//   {"photo": {"size": [w, h], "frame": ID, "alternateFrame": ID, "centred": b, "fixed": b}}
//                                                    a picture slot; frames are placements of placeholder pictures
//                                                    earlier in the list
//   {"text": {"size": [w, h], "style": STYLE, "font": FONT, "fontSize": pt, "bold": b, "italic": b,
//             "underline": b, "align": "left" | "centre" | "right", "colour": COLOUR, "text": "...", "fixed": b}}
//   {"use": GROUP}                                   the elements (and actions) of a group, spliced in here
//
// ACTION: {"id": ID, "type": TYPE, "rect": [x, y, w, h], "label": ID, "slot": ID, "secondSlot": ID,
//          "speed": px per second, "direction": "left" | "right" | "down" | "up", "interval": ms}
// where the IDs name elements of the same page layout. Which of them a type needs, and what the named elements
// must be, is checked (see kActionTypes in the .cpp).

#include "DesignContext.h"
#include "JsonCursor.h"

#include <QPoint>
#include <QRect>
#include <QSize>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class evActionElement;
class evObject;
class evPageLayout;

class PageLayoutBuilder {
public:
    // What an action type draws with: a label text field (fixed for the buttons whose text the type sets, free
    // for the fields whose text the user or the studio writes) and picture slots (fixed where the type draws the
    // slot itself, so the page's own pass must leave it alone).
    enum class LabelUse { None, Fixed, Free };
    enum class SlotUse { None, AnyPhoto, FixedPhoto };
    struct ActionType {
        int code;
        const char* name;
        LabelUse label;
        SlotUse first;
        SlotUse second;
    };

    PageLayoutBuilder(DesignContext& context, const JsonCursor& description);
    std::unique_ptr<evPageLayout> Build();
    const std::string& Identifier() const { return m_id; }

private:
    enum class Kind { Picture, Photo, Text };
    struct Item {
        std::string name;
        Kind kind = Kind::Picture;
        JsonCursor cursor;
        int32_t entryId = 0;
        int32_t elementId = 0;
        QPoint at;
        QSize size;
        bool fixed = false;
        bool placeholder = false;
        size_t index = 0;
    };

    void CollectElements(const JsonCursor& list, int depth);
    void CollectItem(const JsonCursor& element);
    void CollectGroup(const JsonCursor& element, int depth);
    void CheckInsidePage(const JsonCursor& where, const QRect& rect) const;
    // Photos, texts and actions of a disc label ("cd") must lie in the printable ring of the disc.
    void CheckInsideDiscRing(const JsonCursor& where, const QRect& rect) const;
    const Item& Resolve(const JsonCursor& reference) const;
    std::string Qualified(const std::string& local) const { return m_id + "." + local; }

    void AddItem(evPageLayout& layout, const Item& item);
    std::unique_ptr<evObject> MakePhoto(const Item& item);
    std::unique_ptr<evObject> MakeText(const Item& item);
    std::optional<JsonCursor> TextValue(const JsonCursor& text, const char* key) const;
    void CheckFrame(const Item& slot, const Item& frame, bool alternate, bool centred) const;
    std::unique_ptr<evActionElement> MakeAction(const JsonCursor& action);
    void Forbid(const JsonCursor& action, const ActionType& type, const char* key) const;
    void ReadActionLabel(const JsonCursor& action, const ActionType& type, evActionElement& element) const;
    void ReadActionSlot(const JsonCursor& action, const char* key, SlotUse use, const ActionType& type,
                        evActionElement& element) const;
    void ReadActionValues(const JsonCursor& action, const ActionType& type, evActionElement& element) const;
    void CheckKindContent(const evPageLayout& layout) const;
    int32_t ReadKind() const;

    DesignContext& m_context;
    JsonCursor m_description;
    std::string m_id;
    std::vector<Item> m_items;
    std::map<std::string, size_t> m_byName;
    std::vector<JsonCursor> m_actions;
    std::vector<int32_t> m_actionTypes;
};
