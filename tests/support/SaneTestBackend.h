#pragma once
// A scanner for tests: SANE's own "test" backend, enabled through a private SANE configuration folder
// (SANE_CONFIG_DIR: dll.conf naming "test", test.conf for a small, fast colour-pattern page of 39 x 29 pixels at
// 25 dpi), and a private settings file (XDG_CONFIG_HOME). Both variables are restored when the object goes.
// Helpers answer the scanner manager's dialogs as a person would.
//
// SANE reads SANE_CONFIG_DIR once per process and keeps it, so the configuration folder is one for the whole
// test program (test.conf is rewritten for each test and read again whenever SANE starts). The test backend
// module is kept loaded for the whole run: SANE unloads a backend when it ends, and the backend's copy of those
// configuration paths would then show up as a leak.

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <unistd.h>

namespace sanetest {

// The configuration folder of this test program, removed when it ends.
class SaneFolder {
public:
    static const std::filesystem::path& Get()
    {
        static SaneFolder folder;
        return folder.m_path;
    }

private:
    SaneFolder() : m_path(std::filesystem::temp_directory_path() / ("vellora-sane-" + std::to_string(::getpid())))
    {
        std::filesystem::create_directories(m_path);
        std::ofstream(m_path / "dll.conf") << "# the test scanner only\ntest\n";
        dlopen(SANE_TEST_BACKEND_FILE, RTLD_NOW | RTLD_NODELETE);
    }
    ~SaneFolder()
    {
        std::error_code error;
        std::filesystem::remove_all(m_path, error);
    }

    std::filesystem::path m_path;
};

class SaneTestBackend {
public:
    // folder: where the private settings file goes.
    explicit SaneTestBackend(const std::filesystem::path& folder, const std::string& extraOptions = {})
        : m_folder(SaneFolder::Get()), m_config(folder / "config")
    {
        std::filesystem::create_directories(m_config);
        SetOptions(extraOptions);
        Keep("SANE_CONFIG_DIR", m_savedSane);
        Keep("XDG_CONFIG_HOME", m_savedConfig);
        setenv("SANE_CONFIG_DIR", m_folder.c_str(), 1);
        setenv("XDG_CONFIG_HOME", m_config.c_str(), 1);
    }
    ~SaneTestBackend()
    {
        Restore("SANE_CONFIG_DIR", m_savedSane);
        Restore("XDG_CONFIG_HOME", m_savedConfig);
    }
    SaneTestBackend(const SaneTestBackend&) = delete;
    SaneTestBackend& operator=(const SaneTestBackend&) = delete;

    // Options of the test backend after the defaults (read when the manager starts SANE).
    void SetOptions(const std::string& extraOptions)
    {
        std::ofstream(m_folder / "test.conf") << "number_of_devices 2\nmode Color\ndepth 8\nresolution 25\n"
                                                 "test-picture \"Color pattern\"\nbr_x 40\nbr_y 30\n"
                                              << extraOptions;
    }
    const std::filesystem::path& SaneFolder() const { return m_folder; }

private:
    static void Keep(const char* name, std::optional<std::string>& saved)
    {
        const char* value = std::getenv(name);
        saved = value ? std::optional<std::string>(value) : std::nullopt;
    }
    static void Restore(const char* name, const std::optional<std::string>& saved)
    {
        if (saved)
            setenv(name, saved->c_str(), 1);
        else
            unsetenv(name);
    }

    std::filesystem::path m_folder;
    std::filesystem::path m_config;
    std::optional<std::string> m_savedSane;
    std::optional<std::string> m_savedConfig;
};

// Runs the event loop until the condition holds or the time is up; the condition's last answer.
inline bool WaitFor(const std::function<bool()>& condition, int milliseconds = 10000)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > milliseconds)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// The source dialog of the scanner manager, when it is shown.
inline QDialog* SourceDialog()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == "vellora-twain-source" && widget->isVisible())
            return qobject_cast<QDialog*>(widget);
    return nullptr;
}

// Chooses the device in the manager's selection dialog as soon as it comes up (or cancels it when device is
// empty); stops after one answer.
class SelectionAnswerer {
public:
    explicit SelectionAnswerer(std::string device) : m_device(std::move(device))
    {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
        m_timer.start();
    }
    int Answered() const { return m_answered; }

private:
    void Poll()
    {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || dialog->objectName() != "vellora-twain-select")
            return;
        m_timer.stop();
        ++m_answered;
        auto* list = dialog->findChild<QListWidget*>("sources");
        for (int i = 0; list && !m_device.empty() && i < list->count(); ++i)
            if (list->item(i)->text().endsWith(QString::fromStdString("\n" + m_device)))
                list->setCurrentRow(i);
        if (m_device.empty())
            dialog->reject();
        else
            dialog->accept();
    }

    std::string m_device;
    QTimer m_timer;
    int m_answered = 0;
};

// Sets the mode ("Colour" or "Grey") in the shown source dialog and presses Scan; false without a dialog.
inline bool PressScan(const QString& mode = "Colour")
{
    QDialog* dialog = nullptr;
    if (!WaitFor([&] { return (dialog = SourceDialog()) != nullptr; }))
        return false;
    auto* modes = dialog->findChild<QComboBox*>("mode");
    modes->setCurrentIndex(modes->findText(mode));
    dialog->findChild<QPushButton*>("scan")->click();
    return true;
}

inline bool PressCancel()
{
    QDialog* dialog = nullptr;
    if (!WaitFor([&] { return (dialog = SourceDialog()) != nullptr; }))
        return false;
    dialog->findChild<QPushButton*>("cancel")->click();
    return true;
}

} // namespace sanetest
