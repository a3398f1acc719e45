// What build this is: the version and the commit it was built from, for `--version` and bug
// reports.
#pragma once

#include <string>

namespace qh {

std::string BuildVersion();  // "2.0.0"
std::string BuildCommit();   // the commit's short hash, "…-modified", or "unknown"
// "Quillhaven 2.0.0 (commit 0123456789ab)"
std::string VersionText();

}  // namespace qh
