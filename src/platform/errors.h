// Error types shared by every layer.
#pragma once

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

}  // namespace qh
