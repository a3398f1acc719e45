// Arbitrary bytes as a clone file another player shared (or, by the first byte's low bit, a Body
// Shop package): read without fault, or refused with FormatError; what is read applies to a sim
// with every group checked without fault.
#include <cstdint>
#include <span>

#include "platform/errors.h"
#include "workspace/cloning.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const bool bodyShop = size > 0 && (data[0] & 1) == 0 && data[0] != 'D';
    qh::SilentReporter quiet;
    qh::CloneSource source;
    try {
        source = qh::ReadCloneSource(bytes, bodyShop ? "fuzz.package" : "fuzz.clone", quiet);
    } catch (const qh::FormatError&) {
        return 0;
    }
    qh::Workspace ws;
    qh::Character sim;
    sim.instanceId = 5;
    sim.packageFile = "N001_User00005.package";
    sim.hasBodyResource = 1;
    ws.characters.push_back(sim);
    qh::DNA dna;
    dna.instanceId = 5;
    ws.dnaList.push_back(dna);
    ws.dnaByInstance[5] = 0;
    ws.neighborhoodData.emplace();  // the items can be changed
    qh::IndexSims(ws);
    qh::GameEnvironment env;
    env.hasUniversity = env.hasNightlife = env.hasFreeTime = env.hasSeasons = true;
    (void)qh::ImportClone(ws, ws.characters[0], source, qh::AllShownCloneGroups(env), env);
    return 0;
}
