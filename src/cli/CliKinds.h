#pragma once
// The kinds of file that `dump` and `resave` understand. Each kind reads a file from its first byte, prints
// what it read and writes it back with the class writers.

#include <functional>
#include <ostream>
#include <string>
#include <vector>

class Stream;

struct CliKind {
    std::string name;
    // Reads the stream and prints the result (one or more lines).
    std::function<void(Stream& in, std::ostream& out)> dump;
    // Reads the stream and writes it again with the current writers.
    std::function<void(Stream& in, Stream& out)> resave;
};

const std::vector<CliKind>& CliKinds();
const CliKind* FindCliKind(const std::string& name);
