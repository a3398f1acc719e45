#include "workspace/csv.h"

namespace qh {

std::string CsvLine(const std::vector<std::string>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string& field = fields[i];
        if (i > 0) line += ',';
        const bool quote = field.find_first_of(",\"\r\n") != std::string::npos ||
                           (!field.empty() && (field.front() == ' ' || field.back() == ' '));
        if (!quote) {
            line += field;
            continue;
        }
        line += '"';
        for (char ch : field) {
            if (ch == '"') line += '"';
            line += ch;
        }
        line += '"';
    }
    return line + "\r\n";
}

}  // namespace qh
