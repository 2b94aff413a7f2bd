#pragma once
// The two settings the source's dialog offers, over the options of an open SANE device: the scan mode (colour
// or grey, by SANE's well-known option "mode") and the resolution (option "resolution", whole or fixed-point
// dots per inch). A device without such an option simply scans as it is set up.

#include <sane/sane.h>

#include <string>
#include <vector>

struct SaneScanSettings {
    bool colour = true;
    int dotsPerInch = 0; // 0: as the device is set
};

class SaneOptions {
public:
    explicit SaneOptions(SANE_Handle handle);

    bool HasColour() const { return !m_colourValue.empty(); }
    bool HasGrey() const { return !m_greyValue.empty(); }
    // The device's present settings.
    SaneScanSettings Current() const;
    // Resolutions to offer: the device's own list, or common values within its range, with the present one.
    std::vector<int> OfferedResolutions() const;

    // Sets mode and resolution; the SANE status of the first setting that failed.
    SANE_Status Apply(const SaneScanSettings& settings);

private:
    int Find(const char* name) const;
    SANE_Status SetResolution(int dotsPerInch);

    SANE_Handle m_handle;
    int m_modeOption = -1;
    int m_resolutionOption = -1;
    std::string m_colourValue;
    std::string m_greyValue;
};
