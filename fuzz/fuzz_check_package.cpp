// Arbitrary bytes as a package the neighborhood check looks through: every finding is made without
// fault, whatever the index, the streams or the directory say.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "workspace/neighborhood_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto findings = qh::CheckPackageBytes(std::span<const std::uint8_t>(data, size), "fuzz.package");
    for (const qh::Finding& f : findings) {
        if (f.key.empty() || f.meaning.empty()) std::abort();
    }
    return 0;
}
