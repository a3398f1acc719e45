#include "demo_objects.h"

#include <cstdint>
#include <optional>
#include <string>

#include "fixture/package_builder.h"
#include "fixture/resource_builders.h"
#include "platform/file_io.h"
#include "workspace/lots_objects.h"

namespace qh::demo {

namespace {

struct DemoObject {
    std::uint32_t guid;
    const char* name;
};

// Names describe what each object stands for; the GUIDs are the ones the game uses for them.
constexpr DemoObject kObjects[] = {
    {0x2CCF9BED, "Token - Sim Is Dead"},
    {0x4DDF0E12, "Token - Toddler Training"},
    {0xB3F2D735, "Token - Parenting Skill"},
    {0x0DA265F4, "Token - Dance Skill"},
    {0x6FE7E453, "Token - Dance Experience"},
    {0x12F49912, "Token - Hula Dance"},
    {0x334600E0, "Token - Fire Dance"},
    {0x7332278C, "Token - Tai Chi"},
    {0x531FE710, "Token - Ninja"},
    {0x54E2ABA5, "Token - Break Dance"},
    {0x6C92F4F3, "Token - Aspiration Romance"},
    {0x4C92F505, "Token - Aspiration Family"},
    {0x4C92F480, "Token - Aspiration Fortune"},
    {0x8C92F4BC, "Token - Aspiration Popularity"},
    {0x6C92F4CF, "Token - Aspiration Knowledge"},
    {0x53D08989, "Token - Secondary Aspiration"},
    {0x541902EA, "Token - Weekly Benefit"},
    {0x53F9DF4E, "Token - Hobby Lot Membership"},
    {0x505FDC28, "Badge - Cash Register"},
    {0x105FDC52, "Badge - Stocking"},
    {0xB05FDC1B, "Badge - Sales"},
    {0x505FDBC6, "Badge - Robotery"},
    {0x905FDBB5, "Badge - Flower Arranging"},
    {0xD05FDB91, "Badge - Toy Making"},
    {0x705FDC8F, "Badge - Cosmetology"},
    {0x12297157, "Badge - Fishing"},
    {0x1215A8C1, "Badge - Gardening"},
    {0xF3D9B8DA, "Badge - Pottery"},
    {0xD3DB2A27, "Badge - Sewing"},
    {0xD1CD15C8, "Prints Charming Fingerprint Scanner"},
    {0xCC58DF85, "AquaGreen Hydroponic Garden"},
    {0x6C2979FB, "Exerto Selfflog Obstacle Course"},
    {0x4C2148B0, "Exerto Punching Bag"},
    {0xCC20426A, "Execuputter"},
    {0xAE8D50B2, "The Resurrect-O-Nomitron"},
    {0xD24D09FD, "Golden Skull of Jumbok IV"},
    {0x53EDA12F, "Carefree Koi Pond"},
    {0xCE8408E6, "Cell Phone"},
    {0x8E8D529F, "MP3 Player"},
    {0x6EA7AE86, "Handheld Game"},
    {0xAFA8949C, "ReNuYu Porta-Chug"},
    {0x8EAE367E, "Secret Society Membership"},
};

}  // namespace

Bytes DemoObjectsPackage() {
    fixture::PackageBuilder builder;
    std::uint32_t instance = 0x1000;
    for (const DemoObject& object : kObjects) {
        builder.Add(fixture::Key(kObjectDefinitionType, instance, 0x7F000000 + instance % 7),
                    fixture::ObjectDefinitionBytes(object.name, object.guid), instance % 3 != 0);
        ++instance;
    }
    builder.AddDirectory();
    return builder.Build();
}

namespace {

// A gene resource as the game's own tools write one: an XML property set.
std::string XmlGene(const std::string& family, std::optional<int> subtype) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<cGZPropertySetString>\n"
                      "  <AnyString key=\"family\" type=\"0x0b8bea18\">" + family + "</AnyString>\n"
                      "  <AnyString key=\"name\" type=\"0x0b8bea18\">demo</AnyString>\n";
    if (subtype) xml += "  <AnyUint32 key=\"subtype\" type=\"0xeb61e4f7\">" + std::to_string(*subtype) + "</AnyUint32>\n";
    return xml + "</cGZPropertySetString>";
}

void WritePackage(const std::filesystem::path& path, const fixture::PackageBuilder& package) {
    std::filesystem::create_directories(path.parent_path());
    AtomicReplace(path, package.Build());
}

}  // namespace

void WriteDemoDownloads(const std::filesystem::path& userData) {
    const std::filesystem::path downloads = userData / "Downloads";
    constexpr std::uint32_t kHair = 0x8C1580B5, kSkin = 0x4C158081, kEye = 0x2C1FD8A1, kStrings = 0x53545223;
    {
        fixture::PackageBuilder package;
        package.Add(fixture::Key(kHair, 1), XmlGene("c0ffee01-0000-4000-8000-00000000a001", std::nullopt));
        package.Add(fixture::Key(kStrings, 1), fixture::TextListBytes({{1, "  Ginger Streak ", ""}, {4, "Ingwer", ""}}));
        WritePackage(downloads / "Hair" / "ginger-streak.package", package);
    }
    {
        fixture::PackageBuilder package;
        package.Add(fixture::Key(kSkin, 1),
                    fixture::PropertySetBuilder().Integer("version", 2).String("family", "c0ffee02-0000-4000-8000-00000000b002").Build(),
                    true);
        package.Add(fixture::Key(kStrings, 1), fixture::TextListBytes({{1, "Moonlit Skin", ""}}), true);
        package.AddDirectory();
        WritePackage(downloads / "Skins" / "moonlit.package", package);
    }
    {
        fixture::PackageBuilder package;
        package.Add(fixture::Key(kEye, 1), XmlGene("c0ffee03-0000-4000-8000-00000000c003", 3));
        package.Add(fixture::Key(kStrings, 1), fixture::TextListBytes({{1, "Violet Eyes", ""}}));
        WritePackage(downloads / "Eyes" / "Violet Eyes.PACKAGE", package);
    }
    {
        fixture::PackageBuilder package;  // eyebrows: an eye resource of another subtype
        package.Add(fixture::Key(kEye, 1), XmlGene("c0ffee04-0000-4000-8000-00000000d004", 2));
        package.Add(fixture::Key(kStrings, 1), fixture::TextListBytes({{1, "Soft Brows", ""}}));
        WritePackage(downloads / "Eyes" / "soft-brows.package", package);
    }
    {
        fixture::PackageBuilder package;  // a hair colour nobody named
        package.Add(fixture::Key(kHair, 1), XmlGene("c0ffee05-0000-4000-8000-00000000e005", std::nullopt));
        WritePackage(downloads / "unnamed hair.package", package);
    }
    {
        fixture::PackageBuilder package;  // clothes: no gene at all
        package.Add(fixture::Key(0xFC6EB1F7, 1), std::string(2000, 'c'));
        package.Add(fixture::Key(kStrings, 1), fixture::TextListBytes({{1, "Summer Dress", ""}}));
        WritePackage(downloads / "Clothes" / "summer-dress.package", package);
    }
    // A download cut short: its index lies past its end.
    Bytes broken = fixture::PackageBuilder().Add(fixture::Key(kHair, 1), XmlGene("c0ffee06-0000-4000-8000-00000000f006", std::nullopt)).Build();
    broken.resize(broken.size() - 30);
    std::filesystem::create_directories(downloads);
    AtomicReplace(downloads / "half-downloaded.package", broken);
}

}  // namespace qh::demo
