// Cloning: copying chosen groups of a sim's attributes onto another sim, from a sim of the open
// neighborhood (a direct clone) or from a clone file that a player made and shared, and making
// such a file. The body (the appearance resources of the character package) is not copied at
// once: the sim remembers the file that holds its new body, and the next save takes the body's
// resources from there into the sim's package.
//
// A clone file is a package: a 96-byte header, then sections (resources of type 0x4B4C4F4E whose
// group id says which attributes they carry, uncompressed, 16-bit little-endian words at fixed
// offsets), then the body resources of the cloned sim's character package with their own keys,
// then the index.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "character/character.h"
#include "platform/game_environment.h"
#include "platform/reporter.h"
#include "workspace/model.h"

namespace qh {

// The groups of attributes, in the order the panel lists them.
enum class CloneGroup : std::uint16_t {
    Character,
    Personality,
    Aspiration,
    Skills,
    Interests,
    Career,
    Body,
    Genes,
    University,
    Attraction,
    Hobbies,
    NeedDecay,
    Badges,
};
inline constexpr int kCloneGroupCount = 13;

struct CloneGroupRow {
    CloneGroup group;
    const char* control;  // "ckCharClone"
    const char* caption;  // "Character (Name, Gender, etc.)"
    const char* name;     // the command line's name: "character"
    bool (*shown)(const GameEnvironment& env);  // whether the installed expansions offer it
};
std::span<const CloneGroupRow> CloneGroupRows();

// A set of groups, one bit each.
class CloneGroups {
public:
    CloneGroups() = default;
    bool Has(CloneGroup group) const { return (bits_ >> static_cast<int>(group)) & 1u; }
    CloneGroups& Set(CloneGroup group, bool on = true) {
        const auto bit = static_cast<std::uint16_t>(1u << static_cast<int>(group));
        bits_ = static_cast<std::uint16_t>(on ? bits_ | bit : bits_ & ~bit);
        return *this;
    }
    bool Empty() const { return bits_ == 0; }
    // The groups of both sets.
    CloneGroups Within(CloneGroups other) const {
        CloneGroups both;
        both.bits_ = static_cast<std::uint16_t>(bits_ & other.bits_);
        return both;
    }
    friend bool operator==(CloneGroups, CloneGroups) = default;

private:
    std::uint16_t bits_ = 0;
};
// Body and Genes, as the panel opens.
CloneGroups DefaultCloneGroups();
// "Set All": every group the installed expansions offer; a hidden one is never set.
CloneGroups AllShownCloneGroups(const GameEnvironment& env);
// "character,skills,body" (or "all"); a name that is not a group, or a group the installed
// expansions do not offer, is refused with the reason.
std::optional<CloneGroups> ParseCloneGroups(std::string_view text, const GameEnvironment& env, std::string& why);

// What the panel offers for the selected sim, and what it says.
struct CloningStatus {
    bool canExport = false;
    bool canImport = false;  // Get A Clone
    bool canCopy = false;    // Direct Clone
    std::string text;        // shown under the buttons; empty when all three are offered
    bool bold = false;
};
CloningStatus CloningStatusOf(const Workspace& workspace, const Character& sim, const GameEnvironment& env);

// Whether a body clone waits for the save on this sim: it takes a body (cloneApplied), or another
// sim takes its body from its package (a direct clone's source, whose body may not change before
// the save has copied it). Derived from the targets, so undoing a clone frees its source too.
bool BodyClonePending(const Workspace& workspace, const Character& sim);
// Why the sim's package may not go now ("" when it may): another sim takes its body at the next
// save, which would then find nothing to take.
std::string BodyLentRefusal(const Workspace& workspace, const Character& sim);

// The sims a direct clone can copy from onto `target`: every other sim with a body and no body
// clone of its own waiting for the save, in list order.
std::vector<std::size_t> DirectCloneSources(const Workspace& workspace, const Character& target);

// The clone file of a sim: every section, whatever groups are checked, and the body resources of
// its character package (read and expanded in memory; the package is not changed). Throws
// FormatError or IoError naming the file when the package cannot be read or holds no body.
Bytes MakeCloneFile(const Workspace& workspace, const Character& sim, const GameEnvironment& env, Reporter& reporter);
// The name the save dialog proposes: the first name followed directly by the last, trimmed.
std::string CloneFileName(const Character& sim);

// A clone file or a body-shop (or character) package, read and checked whole before anything of
// it is applied. Throws FormatError or IoError naming the file: a file that is not a package, a
// section too short for its layout, a body-shop package without all nine body resource types
// ("The file you have selected is Not a Bodyshop or Character Package").
struct CloneSection {
    std::uint32_t id = 0;
    Bytes bytes;
};
struct CloneSource {
    std::filesystem::path path;
    bool bodyShopPackage = false;      // a ".package": only its body is taken
    std::vector<CloneSection> sections;  // in index order
    bool hasBody = false;              // holds a body to take (see BodySourceRefusal)
};
inline constexpr std::string_view kNotBodyShopPackage = "The file you have selected is Not a Bodyshop or Character Package";
CloneSource ReadCloneSource(const std::filesystem::path& path, Reporter& reporter);
// The same from bytes already read (the fuzz target's door); `path` names the file in messages.
CloneSource ReadCloneSource(std::span<const std::uint8_t> file, const std::filesystem::path& path, Reporter& reporter);

// Why the sim cannot take clone data ("" when it can): no body, a body clone already waiting for
// the save, no description to keep attributes in.
std::string CloneTargetRefusal(const Workspace& workspace, const Character& target);

// What an import or a direct clone did, for the message the player sees.
struct CloneResult {
    std::string refusal;               // nothing changed
    std::vector<std::string> notes;    // groups passed over and why
    std::string message;               // the success message
};

// Groups the installed expansions hide are never applied, whoever asks (the panel hides their
// boxes). Get A Clone: applies each section of a checked group, in the file's order, then takes the body
// when Body is checked (the sim remembers the file; the save merges it).
CloneResult ImportClone(Workspace& workspace, Character& target, const CloneSource& source, CloneGroups groups,
                        const GameEnvironment& env);
// Direct Clone: copies the checked groups from `source`; with Body, the target remembers the
// source's package, and both wait for the save (BodyClonePending).
CloneResult CopyClone(Workspace& workspace, Character& target, const Character& source, CloneGroups groups,
                      const GameEnvironment& env);

// The body a save merges into a sim's package: every resource of a body type in the file named
// by the sim's clonePackagePath, with its key and content, in the file's order. Read and expanded
// in memory; throws FormatError or IoError naming the file when it cannot be read, when a resource
// fails to decode, or when it holds no body.
struct BodyResource {
    ResourceKey key;
    Bytes content;
};
std::vector<BodyResource> ReadCloneBody(const std::filesystem::path& path, Reporter& reporter);

}  // namespace qh
