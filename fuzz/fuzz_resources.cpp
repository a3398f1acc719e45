// Arbitrary bytes as the small resources: text lists, binary property sets (read and patched),
// lot descriptions, object definitions, neighborhood data (read, written back, read again:
// a second write must change nothing) and households (a record written back unchanged gives
// the bytes it was read from; with a member less it reads back so). The first byte picks the
// reader. Malformed input may
// only throw FormatError; the patcher must never change the size.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "household/household.h"
#include "package/property_set.h"
#include "package/text_list.h"
#include "platform/errors.h"
#include "workspace/lots_objects.h"
#include "workspace/neighborhood_data.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::span<const std::uint8_t> bytes(data + 1, size - 1);
    try {
        switch (data[0] % 6) {
            case 0: {
                const int language = data[0] / 4 % 21;
                std::vector<std::string> strings(3);
                qh::ReadTextList(bytes, language, strings);
                for (const auto& s : strings) (void)qh::DecodeUtf8(s);
                // The save's update of a list: unchanged texts leave it alone; changed ones read back
                // as written, and every entry of another language stays.
                std::vector<std::string> wanted = strings;
                qh::Bytes same;
                if (qh::UpdateTextList(bytes, wanted, qh::TextListLayout::Character, language, same) && qh::ParseTextList(bytes)) {
                    std::abort();
                }
                wanted[data[0] % 3] = "Fuzzed name";
                qh::Bytes out;
                if (qh::UpdateTextList(bytes, wanted, qh::TextListLayout::Character, language, out)) {
                    std::vector<std::string> back(3);
                    qh::ReadTextList(out, language, back);
                    if (back[data[0] % 3] != "Fuzzed name") std::abort();
                    const auto before = qh::ParseTextList(bytes);
                    const auto after = qh::ParseTextList(out);
                    if (!after) std::abort();
                    if (before) {
                        for (std::size_t i = 0; i < before->entries.size(); ++i) {
                            const bool ours = before->entries[i].language == language || before->entries[i].language == 1;
                            if (!ours && !(after->entries[i].language == before->entries[i].language &&
                                           after->entries[i].value == before->entries[i].value &&
                                           after->entries[i].description == before->entries[i].description)) {
                                std::abort();
                            }
                        }
                    }
                }
                break;
            }
            case 1: {
                qh::SimProperties sim;
                qh::ReadSimProperties(bytes, sim);
                (void)qh::ReadVersionProperties(bytes);
                std::vector<std::uint8_t> copy(bytes.begin(), bytes.end());
                sim.skinColor = sim.hairColor = sim.eyeColor = std::string(36, '7');
                qh::SilentReporter reporter;
                qh::PatchSimProperties(copy, sim, reporter);
                if (copy.size() != bytes.size()) std::abort();
                break;
            }
            case 2:
                (void)qh::ReadLotDescription(bytes, {}, "fuzz.package");
                break;
            case 3:
                (void)qh::ReadObjectDefinition(bytes);
                break;
            case 4: {
                qh::Household household;
                qh::ReadHousehold(bytes, household);
                std::vector<std::uint8_t> same;
                qh::WriteHousehold(bytes, household, same);
                if (!std::equal(same.begin(), same.end(), bytes.begin(), bytes.end())) std::abort();
                if (!household.members.empty()) household.members.pop_back();
                household.funds ^= 0x55;
                std::vector<std::uint8_t> changed;
                qh::WriteHousehold(bytes, household, changed);
                qh::Household again;
                qh::ReadHousehold(changed, again);
                if (again.members != household.members || again.funds != household.funds) std::abort();
                break;
            }
            default: {
                // The neighborhood data reader, and the writer on what it read.
                qh::Workspace workspace;
                qh::ReadNeighborhoodData(bytes, workspace);
                const auto once = qh::WriteNeighborhoodData(bytes, workspace.simItemList);
                // What was written reads back, and writing it again changes nothing.
                qh::Workspace again;
                qh::ReadNeighborhoodData(once, again);
                const auto twice = qh::WriteNeighborhoodData(once, again.simItemList);
                if (twice != once) std::abort();
            }
        }
    } catch (const qh::FormatError&) {
    }
    return 0;
}
