#include "platform/Fonts.h"

#include "platform/Canvas.h"

#include <QFile>
#include <QFontInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr const char* kSourceFont = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";

// A font file whose family no system has: an installed face with its name changed in place (same length, so
// the tables stay where they are).
QByteArray RenamedFont()
{
    QFile file(kSourceFont);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes = file.readAll();
    const QString from = "DejaVu Sans Mono";
    const QString to = "Vellora Testface";
    bytes.replace(from.toLatin1(), to.toLatin1());
    QByteArray from16, to16;
    for (int i = 0; i < from.size(); ++i) {
        from16 += '\0';
        from16 += from[i].toLatin1();
        to16 += '\0';
        to16 += to[i].toLatin1();
    }
    bytes.replace(from16, to16);
    return bytes;
}

bool Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

TEST(FontsTest, AddedFontFileIsInstalledUntilRemoved)
{
    const QByteArray font = RenamedFont();
    if (font.isEmpty())
        GTEST_SKIP() << kSourceFont << " is not installed";
    QTemporaryDir dir;
    const QString path = dir.filePath("face.ttf");
    ASSERT_TRUE(Write(path, font));

    EXPECT_FALSE(Fonts::IsInstalled("Vellora Testface"));
    ASSERT_TRUE(Fonts::AddFontFile(path.toStdString()));
    EXPECT_TRUE(Fonts::IsInstalled("Vellora Testface"));

    EXPECT_TRUE(Fonts::RemoveFontFile(path.toStdString()));
    EXPECT_FALSE(Fonts::IsInstalled("Vellora Testface"));
    EXPECT_FALSE(Fonts::RemoveFontFile(path.toStdString()));
}
