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
    try {
        qh::Character sim;
        if (auto guid = qh::StoredDescriptionGuid(bytes)) sim.simGuid = *guid;
        if (!qh::ReadCharacterDescription(bytes, sim)) return 0;
        sim.dirty = 1;
        sim.careerGuid = {1, 2, 3, 4};
        qh::Bytes copy;
        qh::WriteCharacterDescription(bytes, sim, copy);
        if (copy.size() != size) std::abort();
    } catch (const qh::FormatError&) {
    }
    return 0;
}
