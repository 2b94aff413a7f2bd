#include "twain/SaneOptions.h"

#include <sane/saneopts.h>

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

constexpr int kMaxOptions = 1000;
constexpr int kCommonResolutions[] = {75, 100, 150, 200, 300, 600, 1200};
constexpr size_t kMaxModeValue = 256;

bool SameText(const char* a, const char* b)
{
    for (; *a && *b; ++a, ++b)
        if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b)))
            return false;
    return *a == *b;
}

bool IsActive(const SANE_Option_Descriptor* option)
{
    return option && SANE_OPTION_IS_ACTIVE(option->cap) && SANE_OPTION_IS_SETTABLE(option->cap);
}

int ToDotsPerInch(const SANE_Option_Descriptor* option, SANE_Word word)
{
    return option->type == SANE_TYPE_FIXED ? static_cast<int>(SANE_UNFIX(word) + 0.5) : word;
}

SANE_Word FromDotsPerInch(const SANE_Option_Descriptor* option, int dotsPerInch)
{
    return option->type == SANE_TYPE_FIXED ? SANE_FIX(static_cast<double>(dotsPerInch)) : dotsPerInch;
}

} // namespace

SaneOptions::SaneOptions(SANE_Handle handle) : m_handle(handle)
{
    m_modeOption = Find(SANE_NAME_SCAN_MODE);
    m_resolutionOption = Find(SANE_NAME_SCAN_RESOLUTION);
    const SANE_Option_Descriptor* mode =
        m_modeOption >= 0 ? sane_get_option_descriptor(m_handle, m_modeOption) : nullptr;
    if (!mode || mode->type != SANE_TYPE_STRING || mode->constraint_type != SANE_CONSTRAINT_STRING_LIST)
        return;
    for (const SANE_String_Const* value = mode->constraint.string_list; value && *value; ++value) {
        if (m_colourValue.empty() && (SameText(*value, SANE_VALUE_SCAN_MODE_COLOR) || SameText(*value, "Colour")))
            m_colourValue = *value;
        if (m_greyValue.empty() && (SameText(*value, SANE_VALUE_SCAN_MODE_GRAY) || SameText(*value, "Grey")))
            m_greyValue = *value;
    }
}

int SaneOptions::Find(const char* name) const
{
    const SANE_Option_Descriptor* count = sane_get_option_descriptor(m_handle, 0);
    SANE_Int options = 0;
    if (!count || sane_control_option(m_handle, 0, SANE_ACTION_GET_VALUE, &options, nullptr) != SANE_STATUS_GOOD)
        return -1;
    for (int i = 1; i < std::min<SANE_Int>(options, kMaxOptions); ++i) {
        const SANE_Option_Descriptor* option = sane_get_option_descriptor(m_handle, i);
        if (IsActive(option) && option->name && std::strcmp(option->name, name) == 0)
            return i;
    }
    return -1;
}

SaneScanSettings SaneOptions::Current() const
{
    SaneScanSettings settings;
    settings.colour = HasColour();
    const SANE_Option_Descriptor* mode =
        m_modeOption >= 0 ? sane_get_option_descriptor(m_handle, m_modeOption) : nullptr;
    if (mode && mode->type == SANE_TYPE_STRING && mode->size > 0 && static_cast<size_t>(mode->size) < kMaxModeValue) {
        std::vector<char> value(static_cast<size_t>(mode->size) + 1, '\0');
        if (sane_control_option(m_handle, m_modeOption, SANE_ACTION_GET_VALUE, value.data(), nullptr) ==
            SANE_STATUS_GOOD)
            settings.colour = HasColour() && (!HasGrey() || m_greyValue != value.data());
    }
    const SANE_Option_Descriptor* resolution =
        m_resolutionOption >= 0 ? sane_get_option_descriptor(m_handle, m_resolutionOption) : nullptr;
    SANE_Word word = 0;
    if (resolution && resolution->size == sizeof(SANE_Word) &&
        sane_control_option(m_handle, m_resolutionOption, SANE_ACTION_GET_VALUE, &word, nullptr) == SANE_STATUS_GOOD)
        settings.dotsPerInch = ToDotsPerInch(resolution, word);
    return settings;
}

std::vector<int> SaneOptions::OfferedResolutions() const
{
    std::vector<int> offered;
    const SANE_Option_Descriptor* option =
        m_resolutionOption >= 0 ? sane_get_option_descriptor(m_handle, m_resolutionOption) : nullptr;
    if (!option || (option->type != SANE_TYPE_INT && option->type != SANE_TYPE_FIXED))
        return offered;
    if (option->constraint_type == SANE_CONSTRAINT_WORD_LIST && option->constraint.word_list) {
        const SANE_Word* list = option->constraint.word_list;
        for (SANE_Word i = 1; i <= std::min<SANE_Word>(list[0], kMaxOptions); ++i)
            offered.push_back(ToDotsPerInch(option, list[i]));
    } else if (option->constraint_type == SANE_CONSTRAINT_RANGE && option->constraint.range) {
        const int low = ToDotsPerInch(option, option->constraint.range->min);
        const int high = ToDotsPerInch(option, option->constraint.range->max);
        for (int value : kCommonResolutions)
            if (value >= low && value <= high)
                offered.push_back(value);
    }
    const int current = Current().dotsPerInch;
    if (current > 0)
        offered.push_back(current);
    std::sort(offered.begin(), offered.end());
    offered.erase(std::unique(offered.begin(), offered.end()), offered.end());
    offered.erase(std::remove_if(offered.begin(), offered.end(), [](int v) { return v <= 0; }), offered.end());
    return offered;
}

SANE_Status SaneOptions::Apply(const SaneScanSettings& settings)
{
    const std::string& mode = settings.colour || !HasGrey() ? m_colourValue : m_greyValue;
    if (m_modeOption >= 0 && !mode.empty()) {
        std::vector<char> value(mode.begin(), mode.end());
        value.push_back('\0');
        const SANE_Status status =
            sane_control_option(m_handle, m_modeOption, SANE_ACTION_SET_VALUE, value.data(), nullptr);
        if (status != SANE_STATUS_GOOD)
            return status;
        // A new mode may bring other options: the resolution is looked up again.
        m_resolutionOption = Find(SANE_NAME_SCAN_RESOLUTION);
    }
    return settings.dotsPerInch > 0 ? SetResolution(settings.dotsPerInch) : SANE_STATUS_GOOD;
}

SANE_Status SaneOptions::SetResolution(int dotsPerInch)
{
    const SANE_Option_Descriptor* option =
        m_resolutionOption >= 0 ? sane_get_option_descriptor(m_handle, m_resolutionOption) : nullptr;
    if (!option || option->size != sizeof(SANE_Word) ||
        (option->type != SANE_TYPE_INT && option->type != SANE_TYPE_FIXED))
        return SANE_STATUS_GOOD;
    SANE_Word word = FromDotsPerInch(option, dotsPerInch);
    return sane_control_option(m_handle, m_resolutionOption, SANE_ACTION_SET_VALUE, &word, nullptr);
}
