#pragma once
// Builders shared by the album model tests: objects with chosen identifiers, solid-colour pictures, a private
// temporary folder, and a small design with a page layout.

#include "StoredFormSupport.h"
#include "model/ObjectStream.h"
#include "model/evLayout.h"
#include "model/evPageLayout.h"
#include "model/evPageLayoutEntry.h"
#include "model/evPicture.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Stream.h"
#include "platform/TempFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

// The identifier of a model object is set only by reading; a saved copy with the identifier patched into its
// header is read back.
template <class T>
std::unique_ptr<T> WithID(std::unique_ptr<T> object, int32_t id)
{
    MemoryStream stream;
    object->SaveToStream(stream);
    std::memcpy(stream.Data().data() + 4, &id, 4);
    stream.SetPosition(0);
    return std::make_unique<T>(stream, nullptr);
}

inline Bitmap SolidBitmap(int width, int height, TColor colour)
{
    Bitmap bitmap(width, height);
    Canvas& canvas = bitmap.GetCanvas();
    canvas.SetBrushColor(colour);
    canvas.SetBrushStyle(BrushStyle::Solid);
    canvas.FillRect(Rect(0, 0, width, height));
    return bitmap;
}

inline std::unique_ptr<evPicture> SolidPicture(int width, int height, TColor colour, int32_t id = 0)
{
    auto picture = std::make_unique<evPicture>("solid", SolidBitmap(width, height, colour));
    return id ? WithID(std::move(picture), id) : std::move(picture);
}

// Colours that went through JPEG come back within a few steps per channel.
inline bool Near(int32_t actual, int32_t expected, int tolerance = 8)
{
    for (int shift = 0; shift < 24; shift += 8) {
        const int a = (actual >> shift) & 0xFF;
        const int e = (expected >> shift) & 0xFF;
        if (std::abs(a - e) > tolerance)
            return false;
    }
    return true;
}

#define EXPECT_NEAR_COLOUR(actual, expected)                                                                           \
    EXPECT_TRUE(Near((actual), (expected))) << std::hex << "actual 0x" << (actual) << ", expected 0x" << (expected)

// Points the temporary folder at a fresh folder of its own for the test, so file names are predictable.
class TempFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_saved = TempFolder();
        static int counter = 0;
        m_folder = std::filesystem::temp_directory_path() /
                   ("vellora-d-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder);
        SetTempFolder(m_folder.string());
    }
    void TearDown() override
    {
        SetTempFolder(m_saved);
        std::filesystem::remove_all(m_folder);
    }
    std::string TempPath(const std::string& name) const { return (m_folder / name).string(); }
    int CountTempFiles() const
    {
        int count = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(m_folder))
            ++count;
        return count;
    }

    std::filesystem::path m_folder;
    std::string m_saved;
};

// A page layout with the identifier, kind and key, added to the design.
inline evPageLayout* AddPageLayout(evLayout& design, int32_t id, int32_t kind, const std::string& key = "")
{
    auto layout = WithID(std::make_unique<evPageLayout>(nullptr, "layout" + std::to_string(id), "", "", kind), id);
    layout->SetKey(key);
    evPageLayout* raw = layout.get();
    design.AddPageLayout(std::move(layout));
    return raw;
}

// Adds an own element and an entry (with its own identifier) placing it.
template <class T>
T* PlaceOwnElement(evPageLayout& layout, std::unique_ptr<T> element, int32_t entryId, int x = 0, int y = 0)
{
    T* raw = element.get();
    const int32_t elementId = element->GetID();
    layout.AddOwnElement(std::move(element));
    layout.GetEntries().Add(WithID(std::make_unique<evPageLayoutEntry>(x, y, 0, elementId), entryId));
    return raw;
}
