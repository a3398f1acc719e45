#include "demo_objects.h"

#include <cstdint>

#include "fixture/package_builder.h"
#include "fixture/resource_builders.h"
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

}  // namespace qh::demo
