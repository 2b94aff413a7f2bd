#pragma once
// The arguments of a command such as "vellora-cli label PROJECT --out FILE --upper X,Y": options, some followed
// by their value, and the one project file. Every error names the command ("label: ...").

#include <functional>
#include <string>
#include <vector>

class CommandArguments {
public:
    CommandArguments(std::string command, const std::vector<std::string>& args)
        : m_command(std::move(command)), m_args(args)
    {}

    // Called with each option in turn; it takes the option's value with Value() and returns false for an option
    // it does not know. The one argument that is no option is the project; any other is an error.
    std::string ReadAll(const std::function<bool(const std::string& option)>& option);
    // The value after the option being read; an error when there is none.
    std::string Value();
    // An error for the command: "command: text".
    [[noreturn]] void Fail(const std::string& text) const;

private:
    std::string m_command;
    const std::vector<std::string>& m_args;
    size_t m_at = 0;
};
