// The one way the core tells the player something.
//
// Messages carry the program's own fixed texts ("Decompression Error", "An Index Error was found
// in ..."). The window shows them in message boxes, the command-line tool prints them to stderr,
// tests record them. Questions are asked by the caller before it calls the core, never from here.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qh {

enum class Severity { Info, Warning, Error };

class Reporter {
public:
    virtual ~Reporter() = default;
    virtual void Report(Severity severity, std::string_view text) = 0;

    void Info(std::string_view text) { Report(Severity::Info, text); }
    void Warning(std::string_view text) { Report(Severity::Warning, text); }
    void Error(std::string_view text) { Report(Severity::Error, text); }
};

// Keeps every message; used by tests and by callers that show messages later.
class RecordingReporter final : public Reporter {
public:
    struct Message {
        Severity severity;
        std::string text;
    };
    void Report(Severity severity, std::string_view text) override {
        messages.push_back({severity, std::string(text)});
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const auto& message : messages) texts.push_back(message.text);
        return texts;
    }
    std::vector<Message> messages;
};

// Drops every message.
class SilentReporter final : public Reporter {
public:
    void Report(Severity, std::string_view) override {}
};

}  // namespace qh
