#pragma once
// Paints the skin pictures of the main data file, addressed by their position in its picture list (0..204).
// Each picture has the size of the control that shows it (see src/screens/ScreenGeometry.h); positions that no
// screen uses hold a small placeholder so that later positions do not shift.
//
// The project menu's alternative set (a hidden variant) replaces the normal pictures one for one, in silver:
// 132/41 personal data, 133/42 edit pages, 134/43 chapters, 135/44 leave the program, 136/45 close the project,
// 137/46 finish, 138/47 music, 139/48 music without sound, 140/50 save, 141/51 greyed save, 142/182 studio,
// 143/183 studio active, 144/192 label kit active, 152/193 label kit caption, 172/194 label kit.

#include <QImage>

#include <map>
#include <memory>

class SkinScene;

class SkinPainter {
public:
    SkinPainter();
    ~SkinPainter();
    SkinPainter(const SkinPainter&) = delete;
    SkinPainter& operator=(const SkinPainter&) = delete;

    static int Count();
    static bool IsUsed(int index);
    // The picture at `index`; throws EVelloraError outside 0 .. Count() - 1.
    QImage Paint(int index);

    enum class SceneId;

private:
    const SkinScene& Scene(SceneId id);

    std::map<SceneId, std::unique_ptr<SkinScene>> m_scenes;
};

// Convenience for callers that paint one picture at a time (the scenes are kept between calls).
QImage PaintSkinPicture(int index);
int SkinPictureCount();
