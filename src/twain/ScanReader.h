#pragma once
// Reads one scan from a SANE device and makes the device-independent bitmap that the TWAIN source hands over:
// grey scans of 8 or 16 bits become 8-bit pictures with a grey palette, line art (1 bit) 1-bit pictures with a
// white and a black entry, colour scans (one RGB frame, or a red, a green and a blue frame from three-pass
// scanners) 24-bit pictures; 16-bit samples keep their high byte.
//
// The device is distrusted: the parameters are checked before anything is allocated, a scan that ends before
// the announced lines are there, sends more than it announced, or reports an error fails with a text for the
// user, and nothing of a failed scan is handed over.

#include "platform/GlobalMemory.h"
#include "platform/Twain.h"

#include <sane/sane.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

// What the reader needs of an open SANE device (the calls of the SANE interface on one handle).
class FrameDevice {
public:
    virtual ~FrameDevice() = default;
    virtual SANE_Status Start() = 0;
    virtual SANE_Status GetParameters(SANE_Parameters& parameters) = 0;
    virtual SANE_Status Read(SANE_Byte* buffer, SANE_Int maxLength, SANE_Int& length) = 0;
    // Ends the scan; also called from another thread to stop a Read that is under way.
    virtual void Cancel() = 0;
    virtual std::string StatusText(SANE_Status status) = 0;
};

// A block of global memory owned until it is released to someone else.
class OwnedBlock {
public:
    OwnedBlock() = default;
    explicit OwnedBlock(HGLOBAL handle) : m_handle(handle) {}
    ~OwnedBlock() { GlobalFree(m_handle); }
    OwnedBlock(OwnedBlock&& other) noexcept : m_handle(other.Release()) {}
    OwnedBlock& operator=(OwnedBlock&& other) noexcept;
    OwnedBlock(const OwnedBlock&) = delete;
    OwnedBlock& operator=(const OwnedBlock&) = delete;

    HGLOBAL Get() const { return m_handle; }
    HGLOBAL Release();

private:
    HGLOBAL m_handle = nullptr;
};

struct ScanResult {
    enum class Outcome { Done, Cancelled, Failed };
    Outcome outcome = Outcome::Failed;
    OwnedBlock picture;                        // Done: the bitmap
    TW_UINT16 condition = Twain::TWCC_SUCCESS; // Failed: the TWAIN condition
    std::string message;                       // Failed: what happened, for the user
};

class ScanReader {
public:
    // Progress in per cent of the announced data (0 while the amount is unknown).
    using Progress = std::function<void(int percent)>;

    // The device's name goes into the messages; the resolution into the bitmap's header.
    ScanReader(FrameDevice& device, std::string deviceName, int dotsPerInch);

    // Starts the scan and reads every frame. cancelled is set by another thread, which then calls the device's
    // Cancel. The device is cancelled at the end in every case, as SANE asks.
    ScanResult Run(const std::atomic<bool>& cancelled, const Progress& progress);

    // The most bytes one frame may have (the largest bitmap in 16-bit colour).
    static constexpr int64_t kMaxFrameBytes = int64_t{150'000'000} * 6;

private:
    struct Frame {
        SANE_Parameters parameters{};
        std::vector<uint8_t> data;
        int64_t lines = 0;
    };

    ScanResult ReadFrames(const std::atomic<bool>& cancelled, const Progress& progress);
    ScanResult ReadFrame(Frame& frame, const std::atomic<bool>& cancelled, const Progress& progress);
    std::string CheckParameters(const SANE_Parameters& parameters) const;
    std::string CheckFrames() const;
    ScanResult Failure(TW_UINT16 condition, const std::string& what) const;
    ScanResult StatusFailure(SANE_Status status);
    ScanResult MakeBitmap() const;

    FrameDevice& m_device;
    std::string m_deviceName;
    int m_dotsPerInch;
    std::vector<Frame> m_frames;
};
