#include "genetics/dna.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "genetics/xml_property_set.h"

namespace qh {
namespace {

std::span<const std::uint8_t> Bytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// A genetic record laid out by hand, as the game writes it.
std::string GameRecord(const std::string& key6Element) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<cGZPropertySetString>\n"
           "  <AnyString key=\"1\" type=\"0x0b8bea18\">00000003-0000-0000-0000-000000000000</AnyString>\n"
           "  <AnyString key=\"2\" type=\"0x0b8bea18\">00000002-0000-0000-0000-000000000000</AnyString>\n"
           "  <AnyString key=\"268435458\" type=\"0x0b8bea18\">00000004-0000-0000-0000-000000000000</AnyString>\n"
           "  <AnyString key=\"3\" type=\"0x0b8bea18\"></AnyString>\n" +
           key6Element + "\n</cGZPropertySetString>";
}

TEST(XmlPropertySet, ReadsByTheWholeOpeningTag) {
    const std::string text = GameRecord("  <AnyString key=\"6\" type=\"0x0b8bea18\"/>");
    EXPECT_EQ(ReadXmlStringProperty(text, StringPropertyTag("2")), "00000002-0000-0000-0000-000000000000");
    EXPECT_EQ(ReadXmlStringProperty(text, StringPropertyTag("268435458")), "00000004-0000-0000-0000-000000000000");
    EXPECT_EQ(ReadXmlStringProperty(text, StringPropertyTag("6")), "") << "self-closed";
    EXPECT_EQ(ReadXmlStringProperty(text, StringPropertyTag("3")), "") << "empty";
    EXPECT_EQ(ReadXmlStringProperty(text, StringPropertyTag("7")), "") << "missing";
    // The value ends at the first closing tag, whatever follows it.
    EXPECT_EQ(ReadXmlStringProperty("<AnyString key=\"family\" type=\"0x0b8bea18\">abc</AnyString>x</AnyString>",
                                     StringPropertyTag("family")),
              "abc");
    // Never closed: nothing to trust.
    EXPECT_EQ(ReadXmlStringProperty("<AnyString key=\"family\" type=\"0x0b8bea18\">abc", StringPropertyTag("family")), "");
    EXPECT_EQ(ReadXmlUintProperty("<AnyUint32 key=\"subtype\" type=\"0xeb61e4f7\">3</AnyUint32>", UintPropertyTag("subtype")), 3u);
    EXPECT_EQ(ReadXmlUintProperty("<AnyUint32 key=\"subtype\" type=\"0xeb61e4f7\">x3</AnyUint32>", UintPropertyTag("subtype")), 0u);
    EXPECT_TRUE(IsXmlPropertySet(Bytes(text)));
    EXPECT_FALSE(IsXmlPropertySet(Bytes("<?x")));
}

// Many keys in one pass find what a search for each key's tag finds: the first whole tag (a key
// twice, a key that is the start of another, a tag inside a value, another type, self-closed,
// never closed, cut off).
TEST(XmlPropertySet, ManyKeysAtOnceReadAsEachAlone) {
    const std::vector<std::string_view> keys{"2", "26", "268435458", "6", "3", "7", "8", "9"};
    const std::vector<std::string> texts{
        GameRecord("  <AnyString key=\"6\" type=\"0x0b8bea18\"/>"),
        "<AnyString key=\"2\" type=\"0x0b8bea18\">first</AnyString><AnyString key=\"2\" type=\"0x0b8bea18\">second</AnyString>",
        "<AnyString key=\"26\" type=\"0x0b8bea18\">a <AnyString key=\"6\" type=\"0x0b8bea18\">inner</AnyString>",
        "<AnyString key=\"7\" type=\"0xeb61e4f7\">other type</AnyString><AnyString key=\"7\" type=\"0x0b8bea18\">ok</AnyString>",
        "<AnyString key=\"8\" type=\"0x0b8bea18\">never closed",
        "<AnyString key=\"9\" type=\"0x0b8bea18\"",
        "<AnyString key=\"3",
        "<AnyString key=\"3\" type=\"0x0b8bea18\">x</AnyString><AnyString key=\"",
        "",
    };
    for (const std::string& text : texts) {
        const auto values = ReadXmlStringProperties(text, keys);
        ASSERT_EQ(values.size(), keys.size());
        for (std::size_t i = 0; i < keys.size(); ++i) {
            EXPECT_EQ(values[i], ReadXmlStringProperty(text, StringPropertyTag(keys[i]))) << keys[i] << " in " << text;
        }
    }
    EXPECT_EQ(ReadXmlStringProperties(texts[1], keys)[0], "first");
    EXPECT_EQ(ReadXmlStringProperties(texts[2], keys)[3], "inner");
    EXPECT_EQ(ReadXmlStringProperties(texts[3], keys)[5], "ok");
}

TEST(DnaRecord, ReadsSixteenGenesAndWritesThemInTheGamesShape) {
    DNA dna = ReadDnaResource(Bytes(GameRecord("  <AnyString key=\"6\" type=\"0x0b8bea18\"/>")), 0x21);
    EXPECT_EQ(dna.instanceId, 0x21u);
    EXPECT_EQ(dna.fatherHairColor, "00000003-0000-0000-0000-000000000000");
    EXPECT_EQ(dna.motherSkinTone, "00000002-0000-0000-0000-000000000000");
    EXPECT_EQ(dna.fatherSkinTone, "00000004-0000-0000-0000-000000000000");
    EXPECT_EQ(dna.skinTone, "NA");
    EXPECT_EQ(dna.dominantEyeColor, "NA");
    EXPECT_EQ(dna.gene268435464, "NA");
    EXPECT_TRUE(dna.keptAsIs.empty());
    EXPECT_EQ(dna.dirty, 0);

    const std::string empty = "\"0x0b8bea18\"></AnyString>\n";
    const std::string expected =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<cGZPropertySetString>\n"
        "  <AnyString key=\"1\" type=\"0x0b8bea18\">00000003-0000-0000-0000-000000000000</AnyString>\n"
        "  <AnyString key=\"2\" type=\"0x0b8bea18\">00000002-0000-0000-0000-000000000000</AnyString>\n"
        "  <AnyString key=\"268435457\" type=" + empty +
        "  <AnyString key=\"268435458\" type=\"0x0b8bea18\">00000004-0000-0000-0000-000000000000</AnyString>\n"
        "  <AnyString key=\"268435459\" type=" + empty + "  <AnyString key=\"268435460\" type=" + empty +
        "  <AnyString key=\"268435461\" type=" + empty + "  <AnyString key=\"268435462\" type=" + empty +
        "  <AnyString key=\"268435463\" type=" + empty + "  <AnyString key=\"268435464\" type=" + empty +
        "  <AnyString key=\"3\" type=" + empty + "  <AnyString key=\"4\" type=" + empty +
        "  <AnyString key=\"5\" type=" + empty + "  <AnyString key=\"6\" type=" + empty +
        "  <AnyString key=\"7\" type=" + empty + "  <AnyString key=\"8\" type=" + empty + "</cGZPropertySetString>";
    EXPECT_EQ(WriteDnaResource(dna), expected);
    EXPECT_EQ(ReadDnaResource(Bytes(expected), 0x21), dna) << "what is written reads back the same";
}

TEST(DnaRecord, SettingAGeneAndWhatIsKeptAsItIs) {
    DNA dna = ReadDnaResource(Bytes(GameRecord("")), 0x21);
    const DnaField& skin = *FindDnaField("skinTone");
    EXPECT_EQ(SetGene(dna, skin, "6baf064a-85ad-4e37-8d81-a987e9f8da46"), "");
    EXPECT_EQ(dna.skinTone, "6baf064a-85ad-4e37-8d81-a987e9f8da46");
    EXPECT_EQ(dna.dirty, 1);
    for (const char* bad : {"6baf064a-85ad-4e37-8d81-a987e9f8da4", "</AnyString><x>", "6baf064a_85ad-4e37-8d81-a987e9f8da46",
                            "6baf064a-85ad-4e37-8d81-a987e9f8da4g"}) {
        EXPECT_NE(SetGene(dna, skin, bad), "") << bad;
    }
    EXPECT_EQ(SetGene(dna, skin, "000000000000000000000000000000000000"), "");

    // A property besides the sixteen, a key twice, an element without a key, or no XML at all:
    // kept as the game wrote it.
    for (const std::string& other : {GameRecord("  <AnyString key=\"99\" type=\"0x0b8bea18\">x</AnyString>"),
                                     GameRecord("  <AnyString key=\"1\" type=\"0x0b8bea18\">x</AnyString>"),
                                     GameRecord("  <AnyUint32 key=\"6\" type=\"0xeb61e4f7\">1</AnyUint32>"),
                                     GameRecord("  <AnyString type=\"0x0b8bea18\">x</AnyString>"),
                                     std::string("binary")}) {
        DNA kept = ReadDnaResource(Bytes(other), 0x22);
        EXPECT_FALSE(kept.keptAsIs.empty()) << other;
        EXPECT_NE(SetGene(kept, skin, "000000000000000000000000000000000000"), "");
        EXPECT_EQ(kept.dirty, 0);
    }
}

// The genes' values are what a search for each gene's own tag finds, however the record is
// laid out: a key twice, another type first, an attribute before the key, an element of
// another kind, a tag inside a value, self-closed, never closed, and an element the walk over
// the keys cannot take apart (the values after it are found all the same).
TEST(DnaRecord, GenesAreWhatASearchForEachTagFinds) {
    const std::string type = "type=\"0x0b8bea18\"";
    const std::vector<std::string> records{
        GameRecord("  <AnyString key=\"6\" type=\"0x0b8bea18\">x</AnyString>"),
        GameRecord("  <AnyString key=\"1\" " + std::string(type) + ">again</AnyString>"),
        GameRecord("  <AnyString key=\"6\" type=\"0xeb61e4f7\">t</AnyString><AnyString key=\"6\" " + type + ">ok</AnyString>"),
        GameRecord("  <AnyString id=\"1\" key=\"6\" " + std::string(type) + ">attr</AnyString>"),
        GameRecord("  <AnyUint32 key=\"6\" " + std::string(type) + ">uint</AnyUint32>"),
        GameRecord("  <AnyString key=\"99\" " + std::string(type) + ">a <AnyString key=\"6\" " + type + ">in</AnyString>"),
        GameRecord("  <AnyString key=\"6\" " + std::string(type) + "/>"),
        GameRecord("  <AnyString key=\"6\" " + std::string(type) + ">open"),
        GameRecord("  <AnyStringNoKey><AnyString key=\"6\" " + std::string(type) + ">after</AnyString>"),
        "<?xml <AnyString key=\"7\" " + std::string(type) + ">cut",
    };
    std::vector<std::string_view> keys;
    for (const DnaField& field : DnaFields()) keys.push_back(field.key);
    for (const std::string& record : records) {
        const DNA dna = ReadDnaResource(Bytes(record), 1);
        const auto expected = ReadXmlStringProperties(record, keys);
        for (std::size_t i = 0; i < keys.size(); ++i) {
            EXPECT_EQ(dna.*DnaFields()[i].member, expected[i].empty() ? std::string(kNoGene) : expected[i])
                << keys[i] << " in " << record;
        }
    }
    EXPECT_EQ(ReadDnaResource(Bytes(records[1]), 1).fatherHairColor, "00000003-0000-0000-0000-000000000000");
    EXPECT_EQ(ReadDnaResource(Bytes(records[2]), 1).skinTone, "ok");
    EXPECT_EQ(ReadDnaResource(Bytes(records[3]), 1).skinTone, "NA");
    EXPECT_EQ(ReadDnaResource(Bytes(records[8]), 1).skinTone, "after");
}

}  // namespace
}  // namespace qh
