#include "platform/SystemAudio.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QtGlobal>

TEST(SystemAudio, VolumePercentRoundsHalvesToEven)
{
    EXPECT_EQ(VolumePercent(65535, 0, 65535), 100);
    EXPECT_EQ(VolumePercent(0, 0, 65535), 0);
    EXPECT_EQ(VolumePercent(32767, 0, 65535), 50);
    EXPECT_EQ(VolumePercent(1, 0, 200), 0);  // 0.5
    EXPECT_EQ(VolumePercent(3, 0, 200), 2);  // 1.5
    EXPECT_EQ(VolumePercent(5, 0, 200), 2);  // 2.5
    EXPECT_EQ(VolumePercent(7, 0, 200), 4);  // 3.5
    EXPECT_EQ(VolumePercent(-30, -60, 0), 50);
    EXPECT_EQ(VolumePercent(70000, 0, 65535), 100);
    EXPECT_EQ(VolumePercent(-5, 0, 100), 0);
    EXPECT_EQ(VolumePercent(3, 5, 5), 100);
}

TEST(SystemAudio, VersionNamesTheDriverAndPassesTheStartupCheck)
{
    qputenv("SDL_AUDIODRIVER", "dummy");
    const std::string version = SystemAudioVersion();
    ASSERT_FALSE(version.empty());
    EXPECT_EQ(version.substr(version.size() - 6), " dummy");
    // Start-up reads the number between the first and the second full stop and wants at least 3.
    const size_t first = version.find('.');
    const size_t second = version.find('.', first + 1);
    ASSERT_NE(second, std::string::npos);
    EXPECT_GE(std::stoi(version.substr(first + 1, second - first - 1)), 3);

    qputenv("SDL_AUDIODRIVER", "no-such-driver");
    EXPECT_EQ(SystemAudioVersion(), "");
    qputenv("SDL_AUDIODRIVER", "dummy");

    const int volume = SystemVolume();
    EXPECT_GE(volume, 0);
    EXPECT_LE(volume, 100);
}
