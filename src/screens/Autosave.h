#pragma once
// Keeps a recovery copy of the open project while it has unsaved changes (model/RecoveryCopy.h): every two
// minutes, and whenever the user comes back to the project menu from an editor, if something changed since the
// last copy. The copy is a snapshot taken on the user interface thread in a moment (the photographs' bytes are
// shared, not copied) and written by a thread of its own, so the user never waits for the disc.
//
// A normal save removes the copy, and so does closing the project after the user chose not to save. When the
// program has to end without asking (a signal, a logout), the copy is written at once and then held: nothing
// removes it any more, so it is offered at the next start.
//
// When the copy cannot be written (a folder that cannot be written, a full disc), the project menu's status
// line says so, and the next interval tries again.

#include <QObject>
#include <QTimer>

#include <memory>
#include <string>

class ApplicationContext;
class BackgroundWriter;

class Autosave : public QObject {
    Q_OBJECT

public:
    static constexpr int kIntervalMilliseconds = 2 * 60 * 1000;

    explicit Autosave(const ApplicationContext& context);
    ~Autosave() override;

    // The context's current project was opened; restored: from its recovery copy, which is then this session's
    // own and current. The timer runs until End.
    void Begin(bool restored);
    void End();

    // Writes a copy in the background when the project has changes that the last copy does not hold.
    void Keep();
    // Writes a copy at once when one is due (or the last one failed) and returns when it is on the disc; false
    // when it could not be written.
    bool KeepAndWait();
    // The project was saved: its copy is out of date and goes.
    void Saved();
    // The user closes the project without saving: the copy this session wrote or restored from goes.
    void Discard();
    // The program ends without the user's decision: nothing removes the copy from now on.
    void Hold();

    // Changes were reported (ProjectModification.h) since the project was opened or last saved, or it was
    // restored from its recovery copy.
    bool HasUnsavedChanges() const;
    // The last attempt to write the copy failed.
    bool HasProblem() const { return m_problem; }
    // Returns when every copy asked for is written (tests, the end of the program).
    void WaitForWriter();
    QTimer& Timer() { return m_timer; }

signals:
    void problemChanged();

private:
    struct Written {
        std::string path;
        bool removal;
        bool succeeded;
        std::string message;
    };

    std::string RecoveryPath() const;
    bool Due() const;
    void Remove();
    void OnWritten(const Written& written);

    const ApplicationContext& m_context;
    std::unique_ptr<BackgroundWriter> m_writer;
    QTimer m_timer;
    unsigned long long m_keptChanges = 0;  // the change count the last copy holds
    unsigned long long m_savedChanges = 0; // the change count when the project was opened or saved
    bool m_restored = false;
    bool m_owned = false; // this session wrote the copy or restored from it
    bool m_problem = false;
    bool m_held = false;
};
