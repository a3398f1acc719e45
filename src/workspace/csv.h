// Comma-separated values as spreadsheets read them (RFC 4180).
#pragma once

#include <string>
#include <vector>

namespace qh {

// One line: a field holding a comma, a double quote, a line break or a blank at either end is
// quoted, with its double quotes doubled; the line ends in CR LF. Texts stay UTF-8 as given.
std::string CsvLine(const std::vector<std::string>& fields);

}  // namespace qh
