// Error types shared by every layer.
#pragma once

#include <new>
#include <stdexcept>
#include <string>

namespace qh {

// Bytes that do not have the shape a reader expects: a truncated header, an offset past the end,
// a back-reference before the start of the output. The text says what was being read.
class FormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file that cannot be opened, read, written or replaced. The text names the file.
class IoError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file another program changed while this one was rewriting it: the rewrite was abandoned and
// the file is as that program left it. The text names the file.
class ChangedMeanwhileError : public IoError {
public:
    using IoError::IoError;
};

// The player stopped long work that allows it; what the work had done is dropped.
class OperationCancelled : public std::runtime_error {
public:
    OperationCancelled() : std::runtime_error("cancelled") {}
};

// What went wrong, for the player: the exception's text, but for running out of memory (whose
// text names only the exception) plain words.
inline std::string Explain(const std::exception& error) {
    if (dynamic_cast<const std::bad_alloc*>(&error)) return "there was not enough memory to finish it";
    return error.what();
}

}  // namespace qh
