#pragma once
// Files written whole: the bytes go to a new temporary file of our own in the target's folder (a unique name of
// bounded length, created exclusively, never following a link), are flushed to the disc, and only then take the
// target's name. A reader sees the previous file or the complete new one, never a part; on any failure the
// temporary is removed and the previous file is untouched. Two writers to one target each have their own
// temporary, so the last rename wins whole and each writer's report is true.
//
// What the user set up survives a replacement: the previous file's permission bits (and, where the system
// allows it, its owner and group) go to the new file, and a target that is a symbolic link is resolved once,
// when the writer starts, so the file the link points to is replaced and the link stays. A hard link cannot
// survive a replacement by renaming: the target's name gets the new file, other names keep the old one.
//
// Errors name the file and the system's reason on one line ("Cannot write \"x.evp\": No space left on
// device") and carry both (EStreamError::GetFile, GetSystemError). A write beyond the process's file size limit
// (EFBIG) is such an error too, once SIGXFSZ is ignored (PrepareProcess in platform/TempFiles.h does that for
// every program).

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <sys/types.h>

class Stream;

class AtomicWriter {
public:
    enum class Permissions { Plain, Executable };

    // Resolves the target and creates the temporary. EFCreateError (naming the file and the reason) when the
    // target is a folder, its folder does not exist or cannot be written. Executable adds execute permission
    // wherever the file has read permission.
    explicit AtomicWriter(const std::string& path, Permissions permissions = Permissions::Plain);
    // Removes the temporary unless Commit succeeded.
    ~AtomicWriter();
    AtomicWriter(const AtomicWriter&) = delete;
    AtomicWriter& operator=(const AtomicWriter&) = delete;

    // The temporary as a seekable stream. Writes are buffered; a refused write raises EWriteError naming the
    // target and the reason.
    Stream& GetStream();
    // Flushes, puts the data on the disc, gives the temporary the target's name and syncs the folder. Raises
    // EWriteError when any of it fails; the temporary is then removed and the target untouched.
    void Commit();

    // The file that is replaced: the path as given, or the file a symbolic link there points to.
    const std::string& GetTarget() const { return m_target; }
    const std::string& GetTemporaryPath() const { return m_temporary; }

private:
    class Output;

    void Discard();

    std::string m_target;
    std::string m_temporary;
    std::unique_ptr<Output> m_output;
    bool m_committed = false;
};

// Writes data to path through an AtomicWriter.
void WriteFileAtomically(const std::string& path, const void* data, size_t size, bool executable = false);
void WriteFileAtomically(const std::string& path, const std::string& data, bool executable = false);

// A new, empty, private file in folder whose name starts with ".vellora-" and at most 16 bytes of the given
// stem; the caller owns it and must remove or rename it. Created with O_EXCL and O_NOFOLLOW and the given mode
// (less the umask).
std::string CreateUniqueFileIn(const std::string& folder, const std::string& stem, int& fd, mode_t mode = 0644);

// As CreateUniqueFileIn, for callers that report errors their own way: the descriptor, or minus the system's
// error number.
int OpenUniqueFileIn(const std::string& folder, const std::string& stem, mode_t mode, std::string& name);

// Puts everything written to the file system that holds folder on the disc (syncfs): one call for a folder of
// many new files instead of an fsync each. EWriteError naming the folder when the system reports a failed write.
void SyncFileSystemOf(const std::string& folder);

// Removes temporaries that writers of processes no longer running left in folder (a kill -9, a power cut):
// regular files of this user named as CreateUniqueFileIn names them. Returns how many were removed.
int RemoveStaleTemporariesIn(const std::string& folder);
// Removes temporaries of ours in folder that nobody has written to for longer than age: regular files of this
// user named as CreateUniqueFileIn names them, and the "<name>.evp.tmp" of earlier versions. A writer that still
// runs keeps its temporary's time fresh, so age alone tells them apart, also on a folder other machines share.
// Returns how many were removed.
int RemoveOldTemporariesIn(const std::string& folder, std::chrono::seconds age);

// The file a path names once symbolic links along the last component are followed (at most 40 of them); the
// path itself when it is no link or does not exist. EFCreateError for a loop of links.
std::string ResolveLinkTarget(const std::string& path);

// A test seam: the system calls through which the writers above create, fill, sync and rename their
// temporaries. A test puts in its own to make them fail part way (a full disc, a read-only folder, an error of
// the device) and puts back the system's with nullptr. Process-wide; changed only while no writer runs.
class WriterSystem {
public:
    virtual ~WriterSystem() = default;
    // As ::open, ::write, ::fsync and ::rename: -1 and errno on failure.
    virtual int Open(const char* path, int flags, mode_t mode);
    virtual ssize_t Write(int fd, const void* data, size_t size);
    virtual int Sync(int fd);
    virtual int Rename(const char* from, const char* to);
};
void SetWriterSystem(WriterSystem* system);
