#include "platform/SystemAudio.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QtGlobal>

TEST(SystemAudio, VolumePercentRoundsHalvesToEven)
{
    EXPECT_EQ(VolumePercent(65535, 0, 65535), 100);
    EXPECT_EQ(VolumePercent(0, 0, 65535), 0);
    EXPECT_EQ(VolumePercent(32767, 0, 65535), 50);
    EXPECT_EQ(VolumePercent(1, 0, 200), 0); // 0.5
    EXPECT_EQ(VolumePercent(3, 0, 200), 2); // 1.5
    EXPECT_EQ(VolumePercent(5, 0, 200), 2); // 2.5
    EXPECT_EQ(VolumePercent(7, 0, 200), 4); // 3.5
    EXPECT_EQ(VolumePercent(-30, -60, 0), 50);
    EXPECT_EQ(VolumePercent(70000, 0, 65535), 100);
    EXPECT_EQ(VolumePercent(-5, 0, 100), 0);
    EXPECT_EQ(VolumePercent(3, 5, 5), 100);
}
