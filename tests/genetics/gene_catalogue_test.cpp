#include "genetics/gene_catalogue.h"

#include <gtest/gtest.h>

#include "fixture/package_builder.h"
#include "fixture/resource_builders.h"
#include "platform/file_io.h"
#include "support/temp_dir.h"

namespace qh {
namespace {
namespace fs = std::filesystem;

// The game's type ids of gene resources and text lists, written out here.
constexpr std::uint32_t kHair = 0x8C1580B5, kSkin = 0x4C158081, kEye = 0x2C1FD8A1, kStrings = 0x53545223;

std::string XmlGene(const std::string& family, int subtype = -1) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<cGZPropertySetString>\n"
                      "  <AnyString key=\"family\" type=\"0x0b8bea18\">" + family + "</AnyString>\n";
    if (subtype >= 0) xml += "  <AnyUint32 key=\"subtype\" type=\"0xeb61e4f7\">" + std::to_string(subtype) + "</AnyUint32>\n";
    return xml + "</cGZPropertySetString>";
}

void Write(const fs::path& path, const fixture::PackageBuilder& package) {
    fs::create_directories(path.parent_path());
    AtomicReplace(path, package.Build());
}

// Downloads with one package of each case, SavedSims with one more, Teleport missing.
struct Downloads {
    test::TempDir dir;
    fs::path downloads = dir.path() / "Downloads";
    fs::path saved = dir.path() / "SavedSims";
    GeneScanOptions options;
    Downloads() {
        Write(downloads / "b" / "hair.package",
              fixture::PackageBuilder()
                  .Add(fixture::Key(kHair, 1), XmlGene("aaaa0001-0000-0000-0000-000000000000"))
                  .Add(fixture::Key(kStrings, 1), fixture::TextListBytes({{4, "Haar", ""}, {1, " Copper Red ", ""}})));
        Write(downloads / "a" / "skin.PACKAGE",
              fixture::PackageBuilder()
                  .Add(fixture::Key(kSkin, 1),
                       fixture::PropertySetBuilder().Integer("subtype", 9).String("family", "bbbb0002-0000-0000-0000-000000000000").Build(),
                       true)
                  .AddDirectory());
        Write(downloads / "eyes3.package",
              fixture::PackageBuilder()
                  .Add(fixture::Key(kEye, 1), XmlGene("cccc0003-0000-0000-0000-000000000000", 3))
                  .Add(fixture::Key(kStrings, 1), fixture::TextListBytes({{1, "", ""}})));
        Write(downloads / "brows.package",
              fixture::PackageBuilder().Add(fixture::Key(kEye, 1), XmlGene("dddd0004-0000-0000-0000-000000000000", 2)));
        // Two genes: the later entry decides.
        Write(saved / "both.package", fixture::PackageBuilder()
                                          .Add(fixture::Key(kSkin, 1), XmlGene("eeee0005-0000-0000-0000-000000000000"))
                                          .Add(fixture::Key(kHair, 1), XmlGene("ffff0006-0000-0000-0000-000000000000")));
        Write(downloads / "dress.package", fixture::PackageBuilder().Add(fixture::Key(0xFC6EB1F7, 1), std::string(500, 'x')));
        Bytes cut = fixture::PackageBuilder().Add(fixture::Key(kHair, 1), XmlGene("99990007-0000-0000-0000-000000000000")).Build();
        cut.resize(cut.size() - 10);
        AtomicReplace(downloads / "cut.package", cut);
        AtomicReplace(downloads / "notes.txt", Bytes{'h', 'i'});
        options.folders = {downloads, saved, dir.path() / "Teleport"};
        options.cacheFile = dir.path() / "settings" / "gene-catalogue.json";
    }
};

TEST(GeneCatalogue, FindsEachKindByItsRulesAndGathersTheErrors) {
    Downloads d;
    const GeneCatalogue catalogue = BuildGeneCatalogue(d.options);
    ASSERT_EQ(catalogue.genes.size(), 4u);
    // Downloads first, by path; then SavedSims.
    EXPECT_EQ(catalogue.genes[0].kind, GeneKind::Skin);
    EXPECT_EQ(catalogue.genes[0].family, "bbbb0002-0000-0000-0000-000000000000");
    EXPECT_EQ(catalogue.genes[0].displayName, "") << "no text list: no name";
    EXPECT_EQ(catalogue.genes[1].kind, GeneKind::Hair);
    EXPECT_EQ(catalogue.genes[1].displayName, "Copper Red") << "the English entry, trimmed";
    EXPECT_EQ(catalogue.genes[2].kind, GeneKind::Eye);
    EXPECT_EQ(catalogue.genes[2].displayName, "eyes3") << "an empty name: the file's";
    EXPECT_EQ(catalogue.genes[3].kind, GeneKind::Hair);
    EXPECT_EQ(catalogue.genes[3].family, "ffff0006-0000-0000-0000-000000000000");
    EXPECT_EQ(catalogue.filesSeen, 7u);
    ASSERT_EQ(catalogue.unreadable.size(), 1u);
    EXPECT_EQ(catalogue.unreadable[0].path, d.downloads / "cut.package");
    const std::string message = DataReadErrors(catalogue);
    EXPECT_EQ(message.rfind("Data Read Error Found in:\r\n\"" + (d.downloads / "cut.package").string() +
                                "\"\r\nThis file will be ignored.",
                            0),
              0u)
        << message;
    GeneCatalogue many;
    many.unreadable.assign(25, {d.downloads / "x.package", "cut"});
    const std::string gathered = DataReadErrors(many);
    EXPECT_NE(gathered.find("5 more files could not be read either."), std::string::npos);
}

TEST(GeneCatalogue, TheCacheSparesUnchangedFilesAndNoticesChangedOnes) {
    Downloads d;
    const GeneCatalogue cold = BuildGeneCatalogue(d.options);
    EXPECT_EQ(cold.filesFromCache, 0u);
    const GeneCatalogue warm = BuildGeneCatalogue(d.options);
    EXPECT_EQ(warm.filesFromCache, 7u);
    EXPECT_EQ(warm.genes, cold.genes);
    EXPECT_EQ(warm.unreadable.size(), 1u) << "a damaged file is still said";

    // A file replaced by another (another size): read again.
    Write(d.downloads / "b" / "hair.package",
          fixture::PackageBuilder()
              .Add(fixture::Key(kHair, 1), XmlGene("aaaa0001-0000-0000-0000-000000000000"))
              .Add(fixture::Key(kStrings, 1), fixture::TextListBytes({{1, "Copper Red, Second Edition", ""}})));
    const GeneCatalogue again = BuildGeneCatalogue(d.options);
    EXPECT_EQ(again.filesFromCache, 6u);
    EXPECT_EQ(again.genes[1].displayName, "Copper Red, Second Edition");

    // A damaged cache is only slower.
    AtomicReplace(*d.options.cacheFile, Bytes{'{', 'x'});
    EXPECT_EQ(BuildGeneCatalogue(d.options).genes, again.genes);
}

TEST(GeneCatalogue, ACancelledScanSaysSoAndKeepsNoCache) {
    Downloads d;
    int asked = 0;
    d.options.cancelled = [&asked] { return ++asked > 2; };
    const GeneCatalogue partial = BuildGeneCatalogue(d.options);
    EXPECT_TRUE(partial.cancelled);
    EXPECT_EQ(partial.filesSeen, 2u);
    EXPECT_FALSE(fs::exists(*d.options.cacheFile));
}

}  // namespace
}  // namespace qh
