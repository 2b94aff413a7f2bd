#pragma once
// Progress of a long command on stderr, shared by finish and check.

#include <cstdio>
#include <iostream>
#include <string>
#include <unistd.h>

// The progress of the pages on stderr: one line rewritten in place on a terminal, and a plain line for each
// tenth otherwise (a log file has no use for a hundred lines). A line left open is ended before anything else
// is printed, so an error still stands on a line of its own.
class ProgressLine {
public:
    explicit ProgressLine(std::string what) : m_what(std::move(what)), m_terminal(isatty(fileno(stderr)) != 0) {}
    ~ProgressLine() { End(); }
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    void Show(int percent)
    {
        if (m_terminal) {
            std::cerr << "\r" << m_what << ": " << percent << "%" << std::flush;
            m_open = true;
        } else if (percent / 10 != m_lastTenth) {
            m_lastTenth = percent / 10;
            std::cerr << m_what << ": " << percent << "%\n" << std::flush;
        }
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
    int m_lastTenth = -1;
};
