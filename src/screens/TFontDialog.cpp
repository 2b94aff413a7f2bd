#include "screens/TFontDialog.h"

#include "platform/Canvas.h"
#include "platform/Text.h"

#include <QApplication>
#include <QFont>
#include <QFontDialog>

#include <cmath>

namespace {

QFont ToQFont(const FontChoice& choice)
{
    QFont font(ToDisplay(choice.name));
    if (choice.size > 0)
        font.setPointSize(choice.size);
    font.setBold((choice.style & fsBold) != 0);
    font.setItalic((choice.style & fsItalic) != 0);
    font.setUnderline((choice.style & fsUnderline) != 0);
    return font;
}

// A font given in pixels is turned back into points at 96 dots per inch, as everywhere in the program.
int32_t PointSizeOf(const QFont& font, int32_t fallback)
{
    if (font.pointSize() > 0)
        return font.pointSize();
    if (font.pixelSize() > 0)
        return static_cast<int32_t>(std::lround(font.pixelSize() * 72.0 / 96.0));
    return fallback;
}

class SystemFontDialog : public TFontDialog {
public:
    std::optional<FontChoice> Execute(const FontChoice& preset) override
    {
        // Parented to the screen that asks, so it comes up in front of that full-screen window.
        bool confirmed = false;
        const QFont font = QFontDialog::getFont(&confirmed, ToQFont(preset), QApplication::activeModalWidget(),
                                                QString(), QFontDialog::ScalableFonts);
        if (!confirmed)
            return std::nullopt;
        FontChoice chosen;
        chosen.name = FromDisplay(font.family());
        chosen.size = PointSizeOf(font, preset.size);
        chosen.colour = preset.colour;
        chosen.style =
            (font.bold() ? fsBold : 0) | (font.italic() ? fsItalic : 0) | (font.underline() ? fsUnderline : 0);
        return chosen;
    }
};

TFontDialog* g_dialog = nullptr;

} // namespace

TFontDialog& FontDialog()
{
    static SystemFontDialog system;
    return g_dialog ? *g_dialog : system;
}

void SetFontDialog(TFontDialog* dialog) { g_dialog = dialog; }
