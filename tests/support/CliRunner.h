#pragma once
// Runs the command-line tool as a user would and collects what it printed.

#include <functional>
#include <string>
#include <utility>
#include <vector>

struct CliResult {
    int status = -1; // -1 when the program did not end normally (a signal, a timeout)
    std::string out;
    std::string err;
};

struct CliOptions {
    std::vector<std::pair<std::string, std::string>> environment; // added to the test's own
    std::function<void()> childSetup;                             // runs in the child before the program starts
};

CliResult RunCli(const std::vector<std::string>& args, const CliOptions& options = {});
