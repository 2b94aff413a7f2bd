// The Windows starter as the programs carry it: the resource "WINSTARTER" is a 64-bit Windows GUI program that
// needs no MinGW runtime DLLs beside it on the disc. (tests/winstart runs it under Wine.)
#include "platform/Resources.h"

#include <gtest/gtest.h>

#include <QByteArray>

#include <cstdint>

namespace {

uint32_t LittleEndian(const QByteArray& data, qsizetype offset, int size)
{
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | static_cast<uint8_t>(data[offset + i]);
    return value;
}

} // namespace

TEST(WinStarterResource, IsASmall64BitWindowsGuiProgramThatNeedsNoMinGwRuntime)
{
    QByteArray data;
    ASSERT_TRUE(ReadResource("WINSTARTER", data));
    ASSERT_GE(data.size(), 0x40);
    EXPECT_EQ(data.left(2), QByteArray("MZ"));

    // The DOS header's e_lfanew leads to the PE signature, the file header (machine) and the optional header.
    const uint32_t pe = LittleEndian(data, 0x3C, 4);
    ASSERT_LE(qsizetype(pe) + 24 + 70, data.size()) << "e_lfanew points past the file";
    EXPECT_EQ(data.mid(pe, 4), QByteArray("PE\0\0", 4));
    EXPECT_EQ(LittleEndian(data, pe + 4, 2), 0x8664u) << "not an x86-64 program";
    const qsizetype optional = pe + 24;
    EXPECT_EQ(LittleEndian(data, optional, 2), 0x20Bu) << "not a PE32+ optional header";
    EXPECT_EQ(LittleEndian(data, optional + 68, 2), 2u) << "not a GUI program (it would open a console window)";

    // The name is found in any case.
    QByteArray lower;
    ASSERT_TRUE(ReadResource("winstarter", lower));
    EXPECT_EQ(lower, data);
    // A static C++ runtime alone would add well over 100 KB; the starter uses the Win32 API only.
    EXPECT_LT(data.size(), 64 * 1024);
    for (const char* dll : {"libstdc++-6.dll", "libgcc_s_seh-1.dll", "libwinpthread-1.dll"})
        EXPECT_FALSE(data.contains(dll)) << "the starter imports " << dll;
    EXPECT_TRUE(data.contains("SHELL32.dll")) << "the starter does not import ShellExecuteW's library";
}
