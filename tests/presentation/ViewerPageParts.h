#pragma once
// Colours and parts of presentation pages for the tests of the viewer and the player: pictures of one colour as
// page elements (stored as JPEG at full quality), mouse actions and navigation actions.

#include "model/evProjectorMouseAction.h"
#include "model/evProjectorNaviAction.h"
#include "model/evProjectorPage.h"
#include "model/evProjectorPageElement.h"
#include "platform/Color.h"
#include "platform/Jpeg.h"

#include "TestPictures.h"

#include <memory>

constexpr TColor kGrey = RGBColor(128, 128, 128);
constexpr TColor kRed = RGBColor(255, 0, 0);
constexpr TColor kGreen = RGBColor(0, 255, 0);
constexpr TColor kBlue = RGBColor(0, 0, 255);
constexpr TColor kYellow = RGBColor(255, 255, 0);

inline std::unique_ptr<evProjectorPageElement> Picture(int x, int y, int width, int height, TColor colour, int32_t kind)
{
    return std::make_unique<evProjectorPageElement>(x, y, JpegImage::FromBitmap(Solid(width, height, colour), 100),
                                                    kind);
}

// Adds the picture and returns its index among the page's elements.
inline int32_t AddPicture(evProjectorPage& page, int x, int y, int width, int height, TColor colour, int32_t kind)
{
    return page.AddElement(Picture(x, y, width, height, colour, kind));
}

inline void AddMouse(evProjectorPage& page, TRect rect, int32_t type, int32_t first, int32_t second = 0)
{
    page.AddMouseAction(std::make_unique<evProjectorMouseAction>(rect, type, first, second));
}

inline void AddNavi(evProjectorPage& page, TRect rect, int32_t target)
{
    page.AddNaviAction(std::make_unique<evProjectorNaviAction>(rect, target));
}
