#include "platform/Resources.h"

#include "platform/Errors.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>

namespace {

const QByteArray kAutorun("[autorun]\r\nopen=evplay.exe\r\nicon=data\\ev.ico");

} // namespace

TEST(Resources, ReadByCaseInsensitiveName)
{
    QByteArray data;
    ASSERT_TRUE(ReadResource("AUTORUN", data));
    EXPECT_EQ(data, kAutorun);
    EXPECT_EQ(data.size(), 44);
    ASSERT_TRUE(ReadResource("autorun", data));
    EXPECT_EQ(data, kAutorun);
    EXPECT_TRUE(HasResource("AutoRun"));
}

TEST(Resources, SaveFailures)
{
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/out";
    EXPECT_THROW(SaveResourceToFile("NO_SUCH_THING", path), EFOpenError);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));
    EXPECT_THROW(SaveResourceToFile("AUTORUN", dir.path().toStdString() + "/missing/folder/out"), EFCreateError);

    // A file that cannot grow past a few bytes: the write fails and the partial file is removed.
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    auto* previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 16;
    setrlimit(RLIMIT_FSIZE, &small);
    EXPECT_THROW(SaveResourceToFile("AUTORUN", path), EWriteError);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));

    // A file that was there before stays whole, and nothing of the failed write is left beside it.
    setrlimit(RLIMIT_FSIZE, &saved);
    {
        QFile old(QString::fromStdString(path));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("previous");
    }
    setrlimit(RLIMIT_FSIZE, &small);
    EXPECT_THROW(SaveResourceToFile("AUTORUN", path), EWriteError);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    QFile old(QString::fromStdString(path));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("previous"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}
