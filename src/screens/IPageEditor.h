#pragma once
// A page editor as the project menu runs it. The menu puts the one timeline strip on the editor's MainPanel
// (left 0, top 607, visible), runs the editor and takes the strip back afterwards. The result says what comes
// next: 0 back to the project menu, 1 leave the program, 2 the layout editor, 3 the picture editor, 4 the text
// editor.

#include <cstdint>

class QWidget;
class TframeTimeline;

class IPageEditor {
public:
    virtual ~IPageEditor() = default;
    virtual QWidget* MainPanel() const = 0;
    virtual int32_t Run(TframeTimeline& timeline) = 0;
};
