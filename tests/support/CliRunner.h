#pragma once
// Runs the command-line tool as a user would and collects what it printed.

#include <string>
#include <vector>

struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

CliResult RunCli(const std::vector<std::string>& args);
