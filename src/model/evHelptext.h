#pragma once
// One help text of the branding bundle; the screens look help texts up by position.
//
// Body on the stream (version 0), after the evObject header:
//   string  name
//   int32   number
//   string  text

#include "model/evObject.h"

#include <cstdint>
#include <string>

class evHelptext : public evObject {
    EV_DECLARE_CLASS(evHelptext, evObject)

public:
    evHelptext(std::string name, int32_t number, std::string text);
    evHelptext(Stream& stream, ProgressBar* progress);
    ~evHelptext() override;

    void SaveToStream(Stream& stream) const override;
    std::unique_ptr<evObject> Clone() const override;
    std::string ToString() const override;

    const std::string& GetName() const { return m_name; }
    int32_t GetNumber() const { return m_number; }
    const std::string& GetText() const { return m_text; }

private:
    std::string m_name;
    int32_t m_number = 0;
    std::string m_text;
};
