// Shared pieces of the command-line tool: the reporter that prints messages, number parsing.
#pragma once

#include <cstdint>
#include <iostream>
#include <stdexcept>
#include <string>

#include "platform/reporter.h"

namespace qh::cli {

// Messages from the core go to stderr, one per line, so stdout stays pure JSON. The line breaks
// of the window's message boxes become spaces.
class StderrReporter final : public Reporter {
public:
    void Report(Severity, std::string_view text) override {
        std::string line;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                line += ' ';
                ++i;
            } else if (text[i] == '\n' || text[i] == '\r') {
                line += ' ';
            } else {
                line += text[i];
            }
        }
        std::cerr << "message: " << line << '\n';
    }
};

// A failure of the command itself, printed as one line with a non-zero exit status.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Ends the command with this exit status, having said everything already (a check's findings).
class ExitStatus : public std::exception {
public:
    explicit ExitStatus(int status) : status_(status) {}
    int status() const { return status_; }
    const char* what() const noexcept override { return "exit status"; }

private:
    int status_;
};

// Parses a 32-bit id written in hexadecimal, with or without "0x".
std::uint32_t ParseHexId(const std::string& text, const std::string& what);

}  // namespace qh::cli
