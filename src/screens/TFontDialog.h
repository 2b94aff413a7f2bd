#pragma once
// The font dialog of the screens (effects, scalable fonts only), behind an interface so that tests answer it
// without a person. The toolkit's dialog offers no colour, so the preset colour comes back unchanged.

#include "platform/Color.h"

#include <cstdint>
#include <optional>
#include <string>

struct FontChoice {
    std::string name; // face name, raw model bytes
    int32_t size = 0; // points
    TColor colour = 0;
    int style = 0; // fsBold | fsItalic | fsUnderline
};

class TFontDialog {
public:
    virtual ~TFontDialog() = default;
    // The font the user confirmed, starting from the preset; nothing when the dialog was cancelled.
    virtual std::optional<FontChoice> Execute(const FontChoice& preset) = 0;
};

TFontDialog& FontDialog();
// Replaces the dialog; nullptr restores the system's.
void SetFontDialog(TFontDialog* dialog);
