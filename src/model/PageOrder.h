#pragma once
// The order of the album's pages: the chapter tree walked depth-first in pre-order, each category before its
// children and its children before its next sibling. "Included" pages are the ones that go onto the disc: a
// category that is included (selected or not optional) and names a page layout; an excluded one leaves out its
// whole subtree. Page indexes (navigation targets, the preview's page numbers) count positions in this order.

#include <cstdint>
#include <vector>

class evCategory;

namespace PageOrder {

// Appends start, its subtree and its following siblings (with theirs) to list in page order; with onlyIncluded
// only the included pages.
void Flatten(evCategory* start, std::vector<evCategory*>& list, bool onlyIncluded);
// The position of the category in the page order of its whole tree; -1 when it is not listed.
int32_t IndexOfCategory(const evCategory* category, bool onlyIncluded);
// The position of the first category of the kind in the page order of the category's whole tree; -1 if none.
int32_t IndexOfKind(const evCategory* category, int32_t kind, bool onlyIncluded);
// The category at the index of the page order from start on; EListError when the index is out of range.
evCategory* CategoryAt(evCategory* start, int32_t index, bool onlyIncluded);
// The included categories from the category on (each included one with its subtree, every one followed by the
// rest of its chain); with childrenOnly those below the category, none when it is excluded itself.
int32_t CountIncluded(const evCategory* category, bool childrenOnly);
// The included categories of the category's chain of children, plus one for the category itself when it has
// children; without children the included categories of its own chain from it on.
int32_t CountChainIncluded(const evCategory* category);
// Number of categories in this category's sibling chain, first to last.
int32_t SiblingCount(const evCategory* category);

} // namespace PageOrder
