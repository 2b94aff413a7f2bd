#pragma once
// How far the user has filled a page: whether it has its page layout and whether every picture and text slot of
// that page layout has the user's content. The timeline's markers show the bits of a page; the project counts as
// ready for the disc when every included page is complete.

#include <cstdint>

class evCategory;

// Completeness bits of GetCompleteness.
enum evCompleteness : int32_t {
    cbLayoutSet = 1,      // kind 3 and a page layout identifier set
    cbNotKind3 = 2,       // kind is not 3
    cbPicturesFilled = 4, // all picture slots filled
    cbNoPictures = 8,     // the page layout is text only
    cbTextsFilled = 16,   // all text slots filled
    cbNoTexts = 32,       // the page layout needs no texts
};

// The completeness bits of the category's own page. Without a page layout that the project's design holds only
// the layout bits are set.
int32_t GetCompleteness(const evCategory& category);
// Whether the category and every category reached from it through included subs and nexts has a complete page;
// an excluded one ends the walk along its link. False for nullptr.
bool IsComplete(const evCategory* category);
