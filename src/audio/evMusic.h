#pragma once
// A piece of music or a spoken clip: a title and the complete audio file. While the object lives, its audio sits
// in a temporary file of its own, which the audio library plays.

#include "model/evObject.h"
#include "platform/Errors.h"

#include <cstdint>
#include <memory>
#include <string>

// An audio file beyond what the program accepts (see evMusic::kMaxAudioBytes).
class EAudioTooLarge : public EFOpenError {
public:
    using EFOpenError::EFOpenError;
};

class evMusic : public evObject {
    EV_DECLARE_CLASS(evMusic, evObject)

public:
    static constexpr int32_t kCurrentVersion = 1;
    // Audio files larger than this are refused, whether they come from the user or from a stream.
    static constexpr int64_t kMaxAudioBytes = 200ll * 1024 * 1024;

    // What Status reports, as the audio library counts it.
    enum : int32_t { StatusStopped = 0, StatusPlaying = 1, StatusStalled = 2, StatusPaused = 3 };

    // Copies the source file whole into a new temporary file. Raises EFOpenError when the source cannot be read,
    // EAudioTooLarge beyond kMaxAudioBytes, EFCreateError/EWriteError when the temporary copy cannot be written.
    evMusic(std::string title, int32_t playMode, const std::string& sourceFile);
    evMusic(Stream& stream, ProgressBar* progress);
    ~evMusic() override;

    static constexpr int32_t kVersion = kCurrentVersion;
    int32_t GetVersion() const override { return kVersion; }
    void SaveToStream(Stream& stream) const override;
    std::unique_ptr<evObject> Clone() const override;
    // Same class, same title and temporary files of the same size; the audio itself is not compared.
    bool IsEqual(const evObject* other) const override;
    std::string ToString() const override;

    // Starts playback (looping unless the play mode is 0); true when it started, and true without doing
    // anything while sound is unavailable.
    bool Play();
    // Halts and rewinds, so the next Play starts from the beginning.
    void Stop();
    int32_t Status() const;

    const std::string& GetTitle() const { return m_title; }
    // The temporary copy of the audio; empty for a track without audio.
    const std::string& GetFile() const { return m_file; }
    int32_t GetPlayMode() const { return m_playMode; }
    void SetPlayMode(int32_t playMode) { m_playMode = playMode; }
    // The audio library's stream; 0 when there is none.
    uint32_t GetStream() const { return m_stream; }

private:
    struct NoAudio {};
    evMusic(std::string title, int32_t playMode, NoAudio);

    void CopyIntoTempFile(Stream& source, int64_t count);
    void CreateStream(uint32_t flags);

    std::string m_title;
    std::string m_file;
    uint32_t m_stream = 0;
    int32_t m_playMode = 0;
};
