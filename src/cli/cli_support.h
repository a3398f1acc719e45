// Shared pieces of the command-line tool: the reporter that prints messages, number parsing.
#pragma once

#include <cstdint>
#include <iostream>
#include <stdexcept>
#include <string>

#include "platform/reporter.h"

namespace qh::cli {

// Messages from the core go to stderr, one per line, so stdout stays pure JSON.
class StderrReporter final : public Reporter {
public:
    void Report(Severity, std::string_view text) override {
        std::cerr << "message: " << text << '\n';
    }
};

// A failure of the command itself, printed as one line with a non-zero exit status.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Parses a 32-bit id written in hexadecimal, with or without "0x".
std::uint32_t ParseHexId(const std::string& text, const std::string& what);

}  // namespace qh::cli
