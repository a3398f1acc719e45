// Arbitrary bytes as a sim description: read for a sim whose GUID is taken from the bytes, then
// written back from a dirty copy. Malformed input may only throw FormatError.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "character/sim_description.h"
#include "platform/errors.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    qh::SilentReporter reporter;
    try {
        qh::Character sim;
        if (auto guid = qh::StoredDescriptionGuid(bytes)) sim.simGuid = *guid;
        if (!qh::ReadCharacterDescription(bytes, sim, reporter)) return 0;
        sim.dirty = 1;
        sim.careerGuid = {1, 2, 3, 4};
        std::vector<std::uint8_t> copy(bytes.begin(), bytes.end());
        std::vector<qh::Character> sims{sim};
        qh::WriteCharacterDescription(copy, sims);
        if (copy.size() != size) std::abort();
    } catch (const qh::FormatError&) {
    }
    return 0;
}
