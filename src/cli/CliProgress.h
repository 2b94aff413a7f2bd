#pragma once
// Progress of a long command on stderr, shared by finish, check and video.

#include <cstdio>
#include <iostream>
#include <string>
#include <unistd.h>

// The progress on stderr, shown only on a terminal: one line rewritten in place. Elsewhere (a log, a pipe, a
// test) stderr carries nothing but the one line of a failure. A line left open is ended before anything else is
// printed, so an error still stands on a line of its own.
class ProgressLine {
public:
    explicit ProgressLine(std::string what) : m_what(std::move(what)), m_terminal(isatty(fileno(stderr)) != 0) {}
    ~ProgressLine() { End(); }
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    void Show(int percent)
    {
        if (!m_terminal)
            return;
        std::cerr << "\r" << m_what << ": " << percent << "%" << std::flush;
        m_open = true;
    }
    void End()
    {
        if (m_open)
            std::cerr << '\n' << std::flush;
        m_open = false;
    }

private:
    std::string m_what;
    bool m_terminal;
    bool m_open = false;
};
