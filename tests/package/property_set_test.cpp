#include "package/property_set.h"

#include <gtest/gtest.h>

#include "fixture/resource_builders.h"
#include "platform/errors.h"

namespace qh {
namespace {

using fixture::PropertySetBuilder;

const std::string kHair = "00000001-0000-0000-0000-000000000000";
const std::string kNewHair = "00000003-0000-0000-0000-000000000000";

Bytes SimSet() {
    return PropertySetBuilder()
        .Integer("age", 0x10020)
        .String("skincolor", "00000002-0000-0000-0000-000000000000")
        .Integer("gender", 1)
        .String("haircolor", kHair)
        .Raw(kPropertyOther4, "flags", {1, 2, 3, 4})
        .String("eyecolor", "short")
        .Build();
}

TEST(ReadSimProperties, TakesAgeGenderAndColours) {
    SimProperties sim;
    ReadSimProperties(SimSet(), sim);
    EXPECT_EQ(sim.ageProperty, 0x20);  // the low 16 bits
    EXPECT_EQ(sim.genderProperty, 1);
    EXPECT_EQ(sim.hairColor, kHair);
    EXPECT_EQ(sim.eyeColor, "short");

    SimProperties none;
    ReadSimProperties(PropertySetBuilder().String("haircolor", kHair).Build(), none);
    EXPECT_EQ(none.ageProperty, -1);
    EXPECT_EQ(none.genderProperty, -1);
    // An XML property set starts "<?xm": nothing is read from it.
    const Bytes xml = {0x3C, 0x3F, 0x78, 0x6D, 'l', ' '};
    ReadSimProperties(xml, none);
    EXPECT_TRUE(none.skinColor.empty());
    EXPECT_FALSE(ReadPropertySet(xml));
}

TEST(ReadVersionProperties, JoinsOnlyWhenTheSecondStringIsThere) {
    EXPECT_EQ(ReadVersionProperties(fixture::VersionInfoBytes(" 1.1.0.3 ", "Seasons")).Text(), "1.1.0.3 - Seasons");
    const auto onlyFirst = ReadVersionProperties(fixture::VersionInfoBytes("1.0", ""));
    EXPECT_EQ(onlyFirst.first, "1.0");
    EXPECT_EQ(onlyFirst.Text(), "");
}

TEST(PatchSimProperties, RewritesA36ByteColourAndNothingElse) {
    const Bytes before = SimSet();
    Bytes after = before;
    SimProperties sim;
    ReadSimProperties(before, sim);
    sim.hairColor = kNewHair;
    RecordingReporter reporter;
    PatchSimProperties(after, sim, reporter);
    EXPECT_TRUE(reporter.messages.empty());
    ASSERT_EQ(after.size(), before.size());
    std::size_t changed = 0;
    for (std::size_t i = 0; i < before.size(); ++i) changed += before[i] != after[i] ? 1 : 0;
    EXPECT_EQ(changed, 1u);  // the one digit that differs
    SimProperties back;
    ReadSimProperties(after, back);
    EXPECT_EQ(back.hairColor, kNewHair);
}

TEST(PatchSimProperties, LengthMismatchesAreReportedAndLeftAlone) {
    const Bytes stored = PropertySetBuilder()
                             .String("skincolor", "short")
                             .String("haircolor", "also short")
                             .String("eyecolor", "x")
                             .Build();
    Bytes patched = stored;
    SimProperties sim;
    sim.skinColor = sim.hairColor = sim.eyeColor = kNewHair;
    RecordingReporter reporter;
    PatchSimProperties(patched, sim, reporter);
    EXPECT_EQ(patched, stored);
    EXPECT_EQ(reporter.Texts(), (std::vector<std::string>{"Data Length Mismatch (chSkinColor)",
                                                          "Data Length Mismatch (chHairColor)",
                                                          "Data Length Mismatch (chEyeColor)"}));
    // A sim colour that is not 36 characters is not written at all, and nothing is said.
    sim.skinColor = "nope";
    sim.hairColor = sim.eyeColor = "";
    reporter.messages.clear();
    PatchSimProperties(patched, sim, reporter);
    EXPECT_TRUE(reporter.messages.empty());
}

TEST(PropertySet, UnknownValueTypeStopsReadingAndPatching) {
    const Bytes stored = PropertySetBuilder()
                             .Integer("age", 16)
                             .Raw(0x12345678, "mystery", {9, 9, 9, 9, 9, 9})
                             .String("haircolor", kHair)
                             .Build();
    const auto set = ReadPropertySet(stored);
    ASSERT_TRUE(set);
    EXPECT_EQ(set->properties.size(), 1u);
    EXPECT_EQ(set->unknownType, 0x12345678u);
    SimProperties sim;
    ReadSimProperties(stored, sim);
    EXPECT_EQ(sim.ageProperty, 16);
    EXPECT_TRUE(sim.hairColor.empty());
    Bytes patched = stored;
    sim.hairColor = kNewHair;
    SilentReporter reporter;
    PatchSimProperties(patched, sim, reporter);
    EXPECT_EQ(patched, stored);
}

TEST(PropertySet, TruncatedEntriesThrow) {
    Bytes stored = PropertySetBuilder().String("haircolor", kHair).Build();
    stored.resize(stored.size() - 1);
    SimProperties sim;
    EXPECT_THROW(ReadSimProperties(stored, sim), FormatError);
    Bytes name = PropertySetBuilder().Integer("age", 1).Build();
    name[14] = 0xFF;  // a name length of billions
    EXPECT_THROW(ReadPropertySet(name), FormatError);
}

}  // namespace
}  // namespace qh
