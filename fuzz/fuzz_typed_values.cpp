// Arbitrary text where the player types a value: GUIDs and hexadecimal ids in every form, the
// shared options, FIELD=VALUE for every field and every named sim operation. Nothing may crash;
// a value a rule refuses must leave its reason, and a GUID that parses must print back the same.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "character/character_edit.h"
#include "character/character_fields.h"
#include "package/guid.h"
#include "workspace/game_session.h"
#include "workspace/sim_operations.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    for (qh::GuidFormat format : {qh::GuidFormat::StoredBytes, qh::GuidFormat::Number, qh::GuidFormat::WordSwapped}) {
        if (const auto guid = qh::ParseGuid(text, format)) {
            const std::string back = qh::FormatGuid(*guid, format);
            if (qh::ParseGuid(back, format) != guid) std::abort();
        }
    }
    if (const auto number = qh::ParseHexNumber(text)) {
        if (qh::ParseHexNumber(qh::HexId(*number)) != number) std::abort();
    }

    qh::SharedOptions options;
    options.language = text;
    options.expansions = text;
    try {
        (void)qh::ResolveSharedOptions(options);
    } catch (const qh::OptionError&) {
    }

    // One sim with a few items, as the set command sees it.
    qh::Workspace workspace;
    qh::Character sim;
    sim.instanceId = 7;
    sim.lifeStage = size % 3 == 0 ? 2 : 19;  // a toddler now and then, for its training
    sim.sdscVersion = 0x36;
    workspace.simItemList.push_back({7, 1, 0, 0x2CCF9BED, 0, 0, 0, 0, {8, 8, 0, 0, 0}});
    workspace.simItemList.push_back({7, 1, 0, 0x4DDF0E12, 0, 0, 0, 0, {0, 1}});  // a short training item
    qh::GameEnvironment env;
    env.hasPets = size % 2 == 0;
    env.hasBonVoyage = env.hasFreeTime = env.hasApartmentLife = size % 4 < 2;
    qh::SimOperationContext context{workspace, env, size % 3 != 1};
    for (const qh::SimOperation& operation : qh::SimOperations()) {
        qh::Character copy = sim;
        const std::string problem = operation.apply(context, copy, text);
        if (!problem.empty() && copy != sim) std::abort();  // a refused value changes nothing
    }
    for (const qh::CharacterField& field : qh::CharacterFields()) {
        qh::Character copy = sim;
        // Through the field's door, as `set FIELD=VALUE` does: a governed field keeps its rule.
        const std::string problem = qh::ApplyFieldAssignment(context, copy, field.name, text);
        if (!problem.empty() && copy != sim) std::abort();
        qh::Character raw = sim;
        if (!qh::SetCharacterField(raw, field.name, text).empty() && raw != sim) std::abort();
        if (field.name == "locoWeight0" && problem.empty() && copy.locoWeight0 + copy.locoWeight1 != 100) std::abort();
    }
    return 0;
}
