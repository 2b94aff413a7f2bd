#include "screens/Autosave.h"

#include "model/ProjectModification.h"
#include "model/RecoveryCopy.h"
#include "model/evProject.h"
#include "platform/BackgroundWriter.h"
#include "platform/Log.h"
#include "screens/ApplicationContext.h"

Autosave::Autosave(const ApplicationContext& context) : m_context(context)
{
    m_writer = std::make_unique<BackgroundWriter>([this](const BackgroundWriter::Outcome& outcome) {
        const Written written{outcome.path, outcome.removal, outcome.succeeded, outcome.message};
        QMetaObject::invokeMethod(
            this, [this, written] { OnWritten(written); }, Qt::QueuedConnection);
    });
    m_timer.setInterval(kIntervalMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, [this] { Keep(); });
}

// What is still asked for is written before the program goes on ending.
Autosave::~Autosave() { m_writer.reset(); }

void Autosave::Begin(bool restored)
{
    m_keptChanges = ProjectChangeCount();
    m_savedChanges = m_keptChanges;
    m_restored = restored;
    m_owned = restored;
    m_problem = false;
    m_held = false;
    m_timer.start();
}

void Autosave::End()
{
    m_timer.stop();
    m_owned = false;
    if (m_problem) {
        m_problem = false;
        emit problemChanged();
    }
}

std::string Autosave::RecoveryPath() const
{
    const std::string& project = m_context.GetProjectFileName();
    return project.empty() ? std::string() : RecoveryPathFor(project);
}

bool Autosave::HasUnsavedChanges() const { return m_restored || ProjectChangeCount() != m_savedChanges; }

bool Autosave::Due() const
{
    return m_context.GetCurrentProject() && !RecoveryPath().empty() && HasUnsavedChanges() &&
           (ProjectChangeCount() != m_keptChanges || m_problem);
}

void Autosave::Keep()
{
    if (!Due())
        return;
    m_keptChanges = ProjectChangeCount();
    m_owned = true;
    m_writer->Write(RecoveryPath(), SnapshotProject(*m_context.GetCurrentProject()));
}

bool Autosave::KeepAndWait()
{
    m_writer->Wait();
    if (!Due())
        return true;
    m_keptChanges = ProjectChangeCount();
    m_owned = true;
    try {
        WriteRecoveryCopy(*m_context.GetCurrentProject(), m_context.GetProjectFileName());
    } catch (const std::exception& error) {
        ktLogs::LogLine(std::string("Recovery copy not written: ") + error.what());
        return false;
    }
    return true;
}

void Autosave::Saved()
{
    m_keptChanges = ProjectChangeCount();
    m_savedChanges = m_keptChanges;
    m_restored = false;
    Remove();
}

void Autosave::Discard()
{
    if (m_owned)
        Remove();
}

void Autosave::Remove()
{
    const std::string path = RecoveryPath();
    if (m_held || path.empty())
        return;
    m_writer->Remove(path);
    m_owned = false;
    if (m_problem) {
        m_problem = false;
        emit problemChanged();
    }
}

void Autosave::Hold()
{
    m_held = true;
    m_timer.stop();
}

void Autosave::WaitForWriter() { m_writer->Wait(); }

// A failed copy is tried again at the next chance; the status line says so meanwhile, and the log once.
void Autosave::OnWritten(const Written& written)
{
    if (written.removal || written.path != RecoveryPath()) {
        if (!written.succeeded)
            ktLogs::LogLine("Recovery copy not removed: " + written.message);
        return;
    }
    if (written.succeeded == !m_problem)
        return;
    if (!written.succeeded)
        ktLogs::LogLine("Recovery copy not written: " + written.message);
    m_problem = !written.succeeded;
    emit problemChanged();
}
