#include "workspace/lots_objects.h"

#include <gtest/gtest.h>

#include "fixture/package_builder.h"
#include "fixture/resource_builders.h"
#include "platform/errors.h"
#include "support/temp_dir.h"

namespace qh {
namespace {

using fixture::Key;

TEST(LotDescription, ReadsTypeNameAndDescription) {
    IndexEntry entry;
    entry.key.instanceId = 17;
    LotDesc lot = ReadLotDescription(fixture::LotDescriptionBytes(5, " Sunset Inn ", "Sea view"), entry,
                                     "N001_Lot17.package");
    EXPECT_EQ(lot.lotId, 17u);
    EXPECT_EQ(lot.lotFile, "N001_Lot17.package");
    EXPECT_EQ(lot.lotType, 5);
    EXPECT_STREQ(LotTypeText(lot.lotType), "Hotel");
    EXPECT_EQ(lot.lotName, "Sunset Inn");
    EXPECT_EQ(lot.lotDescription, "Sea view");

    lot = ReadLotDescription(fixture::LotDescriptionBytes(0, "", "Only a description"), entry,
                             std::string(40, 'f') + ".package");
    EXPECT_EQ(lot.lotName, "");
    EXPECT_EQ(lot.lotDescription, "Only a description");
    EXPECT_EQ(lot.lotFile.size(), 28u);
    EXPECT_STREQ(LotTypeText(7), "Hobby Lot");
    EXPECT_STREQ(LotTypeText(8), "");
}

TEST(LotDescription, DeclaredLengthsPastTheEndThrow) {
    Bytes bytes = fixture::LotDescriptionBytes(1, "Park", "Green");
    bytes[19] = 0xFF;
    EXPECT_THROW(ReadLotDescription(bytes, {}, "x"), FormatError);
    EXPECT_THROW(ReadLotDescription(Bytes(15, 0), {}, "x"), FormatError);
}

TEST(ObjectDefinition, NameUpToZeroWithin64BytesAndGuidAt92) {
    OBJd object = ReadObjectDefinition(fixture::ObjectDefinitionBytes("Dead Mark", 0x2CCF9BED));
    EXPECT_EQ(object.objectName, "Dead Mark");
    EXPECT_EQ(object.objectGuid, 0x2CCF9BEDu);
    object = ReadObjectDefinition(fixture::ObjectDefinitionBytes(std::string(70, 'n'), 1));
    EXPECT_EQ(object.objectName, std::string(64, 'n'));
    EXPECT_THROW(ReadObjectDefinition(Bytes(95, 0)), FormatError);
}

TEST(LoadObjectCatalogue, ReadsEveryObjdAndHandlesMissingAndEmptyPackages) {
    test::TempDir dir;
    fixture::PackageBuilder builder;
    builder.Add(Key(kObjectDefinitionType, 1), fixture::ObjectDefinitionBytes("Cell Phone", 0xCE8408E6), true)
        .Add(Key(0x53545223, 1), "not an object")
        .Add(Key(kObjectDefinitionType, 2), fixture::ObjectDefinitionBytes("MP3 Player", 0x8E8D529F));
    const auto path = dir.Write("objects.package", builder.Build());
    RecordingReporter reporter;
    NullProgress progress;
    const auto catalogue = LoadObjectCatalogue(path, reporter, progress);
    ASSERT_EQ(catalogue.size(), 2u);
    EXPECT_EQ(catalogue[0].objectName, "Cell Phone");
    EXPECT_EQ(catalogue[1].objectGuid, 0x8E8D529Fu);

    EXPECT_TRUE(LoadObjectCatalogue(dir / "missing.package", reporter, progress).empty());
    EXPECT_TRUE(reporter.messages.empty());

    const auto empty = dir.Write("empty.package", fixture::PackageBuilder().Build());
    EXPECT_TRUE(LoadObjectCatalogue(empty, reporter, progress).empty());
    EXPECT_EQ(reporter.Texts(), std::vector<std::string>{"An Index Error was found in Objects Package"});
}

}  // namespace
}  // namespace qh
