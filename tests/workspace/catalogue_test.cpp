#include "workspace/neighborhood_catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "fixture/package_builder.h"
#include "fixture/resource_builders.h"
#include "package/text_list.h"
#include "platform/errors.h"
#include "platform/paths.h"
#include "support/temp_dir.h"

namespace qh {
namespace {

using fixture::Key;

Bytes NeighborhoodPackage(const std::string& name, const std::string& german = "") {
    std::vector<TextEntry> texts = {{1, name, ""}, {1, "About " + name, ""}};
    if (!german.empty()) texts.insert(texts.end(), {{4, german, ""}, {4, "", ""}});
    fixture::PackageBuilder builder;
    builder.Add(Key(kCatalogTextType, 1), fixture::TextListBytes(texts), true)
        .Add(Key(0xEBFEE342, 1), fixture::VersionInfoBytes("1.2", "Pets"));
    return builder.Build();
}

TEST(ScanNeighborhoods, FindsTheGamesPrefixesSortedByText) {
    test::TempDir dir;
    dir.Write("N001/N001_Neighborhood.package", NeighborhoodPackage("Zebra Flats"));
    dir.Write("E001/E001_Neighborhood.package", NeighborhoodPackage("Island", "Insel"));
    dir.Write("g001/g001_Neighborhood.package", NeighborhoodPackage("College"));
    dir.Write("X001/X001_Neighborhood.package", NeighborhoodPackage("Never"));
    dir.Write("N002/readme.txt", test::ToBytes("no package here"));
    std::filesystem::create_directories(dir / "F001");

    RecordingReporter reporter;
    NullProgress progress;
    const auto catalogue = ScanNeighborhoods(dir.path(), 4, reporter, progress);
    ASSERT_EQ(catalogue.size(), 3u);
    EXPECT_EQ(catalogue[0].Text(), "E001 : Insel");
    EXPECT_EQ(catalogue[1].Text(), "g001 : College");
    EXPECT_EQ(catalogue[2].Text(), "N001 : Zebra Flats");
    EXPECT_EQ(catalogue[0].ngbdDescription, "About Island");
    EXPECT_EQ(catalogue[0].versionText, "1.2 - Pets");
    EXPECT_EQ(catalogue[2].packagePath, dir / "N001/N001_Neighborhood.package");
    EXPECT_TRUE(reporter.messages.empty());
}

TEST(ScanNeighborhoods, DamagedPackagesAreReportedWithTheirFileAndLeftOut) {
    test::TempDir dir;
    dir.Write("N001/N001_Neighborhood.package", fixture::PackageBuilder().Build());
    dir.Write("N002/N002_Neighborhood.package", NeighborhoodPackage("Fine"));
    RecordingReporter reporter;
    NullProgress progress;
    const auto catalogue = ScanNeighborhoods(dir.path(), 1, reporter, progress);
    ASSERT_EQ(catalogue.size(), 1u);
    EXPECT_EQ(reporter.Texts(), std::vector<std::string>{
                                    "An Index Error was found in N001_Neighborhood.package\r\nThis neighborhood will be ignored."});

    Bytes truncated = NeighborhoodPackage("Broken");
    truncated.resize(truncated.size() - 10);
    dir.Write("N003/N003_Neighborhood.package", truncated);
    reporter.messages.clear();
    const auto again = ScanNeighborhoods(dir.path(), 1, reporter, progress);
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(again[0].prefix, "N002");
    ASSERT_EQ(reporter.messages.size(), 2u);  // N001's index error, and N003
    const bool named = std::any_of(reporter.messages.begin(), reporter.messages.end(), [](const auto& m) {
        return m.text.rfind("A Data Error was found in N003_Neighborhood.package: ", 0) == 0;
    });
    EXPECT_TRUE(named);
}

TEST(ScanNeighborhoods, AFolderWhoseNameLeadsElsewhereIsNotANeighborhood) {
    test::TempDir dir;
    const auto hoods = dir / "Neighborhoods";
    // The name splits into N9, .., .. and Elsewhere where backslashes separate folders: the
    // package path it makes is Elsewhere_Neighborhood.package beside the Neighborhoods folder.
    const std::string name = "N9\\..\\..\\Elsewhere";
    dir.Write("Neighborhoods/" + name + "/placeholder", test::ToBytes("x"));
    dir.Write("Elsewhere_Neighborhood.package", NeighborhoodPackage("The program's own file"));
    dir.Write("Neighborhoods/N001/N001_Neighborhood.package", NeighborhoodPackage("Valley"));
    RecordingReporter reporter;
    NullProgress progress;
    const auto catalogue = ScanNeighborhoods(hoods, 1, reporter, progress);
    ASSERT_EQ(catalogue.size(), 1u);
    EXPECT_EQ(catalogue[0].prefix, "N001");
    EXPECT_FALSE(IsPlainName(name));
    EXPECT_FALSE(IsPlainName(".."));
    EXPECT_TRUE(IsPlainName("N001"));
    EXPECT_TRUE(LiesInside(hoods / "N001" / "Characters" / "x.package", hoods / "N001"));
    EXPECT_FALSE(LiesInside(hoods / "N001" / ".." / "N002" / "x.package", hoods / "N001"));
    EXPECT_FALSE(LiesInside(hoods / "N0012" / "x.package", hoods / "N001"));
}

}  // namespace
}  // namespace qh
