#pragma once
// The disc label: the page of the project's disc-label category, of which the label is the left square (768
// pixels wide, as high as the design's page). The label kit shows it and prints it; `vellora-cli label` prints
// it the same way.

#include <cstdint>

class Bitmap;
class evPageLayout;
class evProject;
class evUserPicture;
class evUserTextfield;

// The width of the label bitmap: the left part of the page that the label shows.
constexpr int32_t kDiscLabelWidth = 768;

// The page layout of the project's disc-label category; nullptr when the project has no such category or the
// category names no page layout of the design.
evPageLayout* DiscLabelPageLayout(const evProject& project);

// The label bitmap: the category's page rendered into its preview file, its left 768 pixels. Without a design
// page size there is no bitmap (empty); a category that cannot render (no page layout, a damaged picture) leaves
// the label white. Never raises for the category's content.
Bitmap RenderDiscLabel(const evProject& project);

// The user's slots on a label: the first picture slot and the first text field among the page layout's own
// elements, in their order, that are not fixed; nullptr when there is none.
evUserPicture* FreePictureSlot(const evPageLayout& layout);
evUserTextfield* FreeTextSlot(const evPageLayout& layout);
