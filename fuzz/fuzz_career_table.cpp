// Arbitrary text as the career table: it is read or refused with a FormatError, never more; a
// table read keeps every career's titles and levels in step with its band.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "career/career_table.h"
#include "platform/errors.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const qh::CareerTable table = qh::ParseCareerTable(text, "fuzz.tsv");
        for (const qh::Career& career : table.careers) {
            if (career.titles.empty() || career.titles.size() != career.levels.size()) std::abort();
            if (!qh::GuidBytesFromKey(career.key)) std::abort();
        }
    } catch (const qh::FormatError&) {
    }
    return 0;
}
