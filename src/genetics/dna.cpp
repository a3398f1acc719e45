#include "genetics/dna.h"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

#include "genetics/xml_property_set.h"

namespace qh {

std::span<const DnaField> DnaFields() {
    static const DnaField kFields[] = {
        {"skinTone", &DNA::skinTone, "6", "Skin Tone:"},
        {"recessiveSkinTone", &DNA::recessiveSkinTone, "268435462", "Recessive Skin Tone:"},
        {"fatherHairColor", &DNA::fatherHairColor, "1", "Fathers Hair Color:"},
        {"motherHairColor", &DNA::motherHairColor, "268435457", "Mothers Hair Color:"},
        {"fatherSkinTone", &DNA::fatherSkinTone, "268435458", "Fathers Skin Tone:"},
        {"motherSkinTone", &DNA::motherSkinTone, "2", "Mothers Skin Tone:"},
        {"dominantEyeColor", &DNA::dominantEyeColor, "3", "Parent Eye Color (Dominant):"},
        {"parentEyeColor", &DNA::parentEyeColor, "268435459", "Parent Eye Color:"},
        {"gene5", &DNA::gene5, "5", nullptr},
        {"gene4", &DNA::gene4, "4", nullptr},
        {"gene7", &DNA::gene7, "7", nullptr},
        {"gene8", &DNA::gene8, "8", nullptr},
        {"gene268435460", &DNA::gene268435460, "268435460", nullptr},
        {"gene268435461", &DNA::gene268435461, "268435461", nullptr},
        {"gene268435463", &DNA::gene268435463, "268435463", nullptr},
        {"gene268435464", &DNA::gene268435464, "268435464", nullptr},
    };
    return kFields;
}

const DnaField* FindDnaField(std::string_view name) {
    for (const DnaField& field : DnaFields()) {
        if (field.name == name) return &field;
    }
    return nullptr;
}

bool SameGenes(const DNA& a, const DNA& b) {
    const auto fields = DnaFields();
    return std::all_of(fields.begin(), fields.end(), [&](const DnaField& f) { return a.*f.member == b.*f.member; });
}

DNA ReadDnaResource(std::span<const std::uint8_t> bytes, std::uint32_t instanceId) {
    DNA dna;
    dna.instanceId = instanceId;
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    const auto fields = DnaFields();
    // One walk over the elements, in place (a neighborhood holds a genetic record for each of its
    // sims), finds the keys and takes each gene's value from its first string property. A
    // rewrite writes the sixteen genes and nothing else: a resource holding anything more, or a
    // key twice, or that is no XML property set, is kept as the game wrote it.
    std::vector<std::string> values(fields.size());
    std::vector<bool> valued(fields.size(), false);
    std::vector<bool> seen(fields.size(), false);
    bool onlyGenesOnce = true;
    const bool readable =
        IsXmlPropertySet(bytes) && VisitXmlPropertyKeys(text, [&](std::string_view element, std::string_view key) {
            const auto gene = std::find_if(fields.begin(), fields.end(), [&](const DnaField& f) { return f.key == key; });
            if (gene == fields.end()) {
                onlyGenesOnce = false;
                return;
            }
            const auto g = static_cast<std::size_t>(gene - fields.begin());
            if (element != "AnyString" || seen[g]) {
                onlyGenesOnce = false;
            } else {
                seen[g] = true;
            }
            if (!valued[g]) {
                if (auto value = XmlStringValueOfKey(text, key)) {
                    valued[g] = true;
                    values[g] = std::move(*value);
                }
            }
        });
    if (!readable) {
        // The walk stopped at an element it cannot take apart (or never began): the values are
        // searched for as in any property set, past what stopped it.
        static const std::vector<std::string_view> geneKeys = [] {
            std::vector<std::string_view> all;
            for (const DnaField& field : DnaFields()) all.push_back(field.key);
            return all;
        }();
        values = ReadXmlStringProperties(text, geneKeys);
    }
    for (std::size_t i = 0; i < fields.size(); ++i) {
        dna.*fields[i].member = values[i].empty() ? std::string(kNoGene) : std::move(values[i]);
    }
    if (!(readable && onlyGenesOnce)) {
        dna.keptAsIs = "its genetic record holds more than the sixteen genes this editor knows, so it is kept as it is";
    }
    return dna;
}

std::string WriteDnaResource(const DNA& dna) {
    std::vector<const DnaField*> order;
    for (const DnaField& field : DnaFields()) order.push_back(&field);
    // Text order of the keys: "1" < "2" < "268435457" < ... < "3".
    std::sort(order.begin(), order.end(), [](const DnaField* a, const DnaField* b) { return a->key < b->key; });
    std::vector<std::pair<std::string, std::string>> properties;
    for (const DnaField* field : order) {
        const std::string& value = dna.*field->member;
        properties.emplace_back(std::string(field->key), value == kNoGene ? std::string() : value);
    }
    return WriteXmlPropertySet(properties);
}

bool IsGeneText(std::string_view value) {
    if (value.size() != 36) return false;
    if (value == std::string(36, '0')) return true;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        const bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        if (dash ? c != '-' : !hex) return false;
    }
    return true;
}

std::string SetGene(DNA& dna, const DnaField& field, std::string_view value) {
    if (!dna.keptAsIs.empty()) return dna.keptAsIs;
    if (value != kNoGene && !IsGeneText(value)) {
        return "a gene is NA or a GUID text of 36 characters (8-4-4-4-12 hexadecimal digits, or 36 zeros)";
    }
    if (dna.*field.member != value) {
        dna.*field.member = std::string(value);
        dna.dirty = 1;
    }
    return {};
}

}  // namespace qh
