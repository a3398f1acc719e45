// Arbitrary text typed into the search box (or given to `list --where`): parsed without fault,
// and matched against a sim's facts without fault.
#include <cstdint>
#include <string>
#include <string_view>

#include "workspace/sim_filter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const qh::SimQuery query = qh::ParseSimQuery(text);
    qh::SimFacts facts;
    facts.text = "marta hart n001_user00000.package the harts";
    facts.lifeStage = "adult";
    (void)qh::Matches(facts, query);
    std::string why;
    (void)qh::ParseSimCondition(text, why);
    return 0;
}
