#include "cli/CliArguments.h"

#include "platform/Errors.h"

std::string CommandArguments::ReadAll(const std::function<bool(const std::string& option)>& option)
{
    std::string project;
    for (m_at = 0; m_at < m_args.size(); ++m_at) {
        const std::string& arg = m_args[m_at];
        const bool isOption = arg.rfind("--", 0) == 0;
        if (isOption && option(arg))
            continue;
        if (isOption || !project.empty())
            Fail("unexpected argument \"" + arg + "\"");
        project = arg;
    }
    return project;
}

std::string CommandArguments::Value()
{
    if (m_at + 1 >= m_args.size())
        Fail(m_args[m_at] + " needs a value");
    return m_args[++m_at];
}

void CommandArguments::Fail(const std::string& text) const { throw EVelloraError(m_command + ": " + text); }
