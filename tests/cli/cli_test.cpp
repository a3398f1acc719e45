// The command-line tool end to end, on packages laid out by the test builder.
#include <gtest/gtest.h>

#include <regex>

#include <nlohmann/json.hpp>

#include "fixture/package_builder.h"
#include "package/byte_reader.h"
#include "package/extract.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace qh {
namespace {

using fixture::Key;

test::CliResult Cli(const std::vector<std::string>& args) { return test::RunCli(QH_CLI_PATH, args); }

Bytes SamplePackage() {
    fixture::PackageBuilder builder;
    builder.Add(Key(0xAACE2EFB, 1), std::string(600, 'd'), true)
        .Add(Key(0x43545353, 2), "names")
        .Add(Key(0x43545353, 2, 0x1234), "second names")
        .AddDirectory();
    return builder.Build();
}

TEST(CliIndex, PrintsEntriesAsJson) {
    test::TempDir dir;
    const auto file = dir.Write("p.package", SamplePackage());
    const auto result = Cli({"index", file.string()});
    ASSERT_EQ(result.status, 0) << result.err;
    const auto json = nlohmann::json::parse(result.out);
    EXPECT_EQ(json["entryWidth"], 24);
    ASSERT_EQ(json["entries"].size(), 4u);
    EXPECT_EQ(json["entries"][0]["type"], "AACE2EFB");
    EXPECT_EQ(json["entries"][0]["group"], "FFFFFFFF");
    EXPECT_EQ(json["entries"][0]["instance"], "00000001");
    EXPECT_EQ(json["entries"][0]["offset"], 96);
    EXPECT_EQ(json["entries"][0]["compressed"], true);
    EXPECT_EQ(json["entries"][1]["compressed"], false);
    EXPECT_EQ(json["entries"][3]["type"], "E86B1EEF");
}

TEST(CliExtract, WritesDecompressedContentOfTheChosenEntry) {
    test::TempDir dir;
    const auto file = dir.Write("p.package", SamplePackage());
    const auto out = dir / "out.bin";
    auto result = Cli({"extract", file.string(), "--type", "AACE2EFB", "--instance", "1", "-o",
                       out.string()});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(test::Slurp(out), std::string(600, 'd'));

    result = Cli({"extract", file.string(), "--type", "0x43545353", "--instance", "00000002",
                  "--nth", "1", "-o", out.string()});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(test::Slurp(out), "second names");
    result = Cli({"extract", file.string(), "--type", "43545353", "--instance", "2", "--group",
                  "1234", "-o", out.string()});
    EXPECT_EQ(test::Slurp(out), "second names");

    result = Cli({"extract", file.string(), "--type", "43545353", "--instance", "9", "-o",
                  out.string()});
    EXPECT_NE(result.status, 0);
    EXPECT_NE(result.err.find("p.package"), std::string::npos) << result.err;
    result = Cli({"extract", file.string(), "--type", "XYZ", "--instance", "9", "-o", out.string()});
    EXPECT_NE(result.status, 0);
}

// A QFS stream exactly as long as its content (19 bytes), laid out by hand: a 9-byte header
// (compressed size, 0x10 0xFB, the length in three bytes high first), four literals "abcd" (code
// 0xE0), a copy of ten bytes from four back (0x1C 0x03), a copy of five from four back (0x08
// 0x03), the end code 0xFC. Only the package's compressed-resource directory tells that it is
// compressed.
const Bytes kEvenStream = {19, 0, 0, 0, 0x10, 0xFB, 0, 0, 19, 0xE0, 'a', 'b', 'c', 'd', 0x1C, 0x03, 0x08, 0x03, 0xFC};
const std::string kEvenContent = "abcdabcdabcdabcdabc";

TEST(CliExtract, AListedStreamIsDecodedEvenWhenItsLengthEqualsItsContentsAsTheSaveDoes) {
    const Bytes content(kEvenContent.begin(), kEvenContent.end());
    ASSERT_EQ(kEvenStream.size(), content.size());
    // The directory's record: type, group, instance, second instance, uncompressed size.
    Bytes directory;
    for (std::uint32_t word : {0x0BF999E7u, 0xFFFFFFFFu, 7u, 0u, 19u}) AppendU32(directory, word);
    fixture::PackageBuilder builder;
    builder.Add(Key(0x0BF999E7, 7), kEvenStream).Add(Key(0xE86B1EEF, 0), directory);
    const Bytes package = builder.Build();
    test::TempDir dir;
    const auto file = dir.Write("p.package", package);
    const auto out = dir / "out.bin";
    const auto result = Cli({"extract", file.string(), "--type", "0BF999E7", "--instance", "7", "-o", out.string()});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(ReadFileBytes(out), content);
    // The expansion reads it the same way.
    SilentReporter quiet;
    const auto image = ExpandImage(package, quiet);
    std::vector<IndexEntry> entries;
    ReadIndex(image, PackageSource::Image, entries);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(Bytes(image.begin() + entries[0].offset, image.begin() + entries[0].offset + entries[0].size), content);
}

// The version of the sources and the commit they are at, so a report names the build exactly.
TEST(CliVersion, NamesTheVersionAndTheCommitOfTheBuild) {
    const auto result = Cli({"--version"});
    EXPECT_EQ(result.status, 0);
    const std::regex shape("Quillhaven " + std::regex_replace(std::string(QH_PROJECT_VERSION), std::regex("\\."), "\\.") +
                           " \\(commit ([0-9a-f]{12}(-modified)?|unknown)\\)\n");
    EXPECT_TRUE(std::regex_match(result.out, shape)) << result.out;
    // Built from a git checkout: the commit is the checkout's.
    test::TempDir dir;
    const std::string git = "git -C " + test::ShellQuote(QH_SOURCE_DIR) + " rev-parse --short=12 HEAD >" +
                            test::ShellQuote((dir / "head").string()) + " 2>/dev/null";
    const std::string head = std::system(git.c_str()) == 0 ? test::Slurp(dir / "head") : std::string();
    if (head.size() >= 12) {
        EXPECT_NE(result.out.find("(commit " + head.substr(0, 12)), std::string::npos) << result.out;
    }
}

TEST(CliExpand, InPlaceOrToAnotherFile) {
    test::TempDir dir;
    const Bytes original = SamplePackage();
    const auto file = dir.Write("p.package", original);
    const auto copy = dir / "expanded.package";
    auto result = Cli({"expand", file.string(), "-o", copy.string()});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(ReadFileBytes(file), original);
    SilentReporter reporter;
    EXPECT_EQ(ReadFileBytes(copy), ExpandImage(original, reporter));

    result = Cli({"expand", file.string()});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(ReadFileBytes(file), ReadFileBytes(copy));
}

TEST(CliErrors, DamagedPackageGivesOneLineNamingTheFile) {
    test::TempDir dir;
    Bytes damaged = SamplePackage();
    damaged.resize(120);
    const auto file = dir.Write("broken.package", damaged);
    const auto result = Cli({"index", file.string()});
    EXPECT_NE(result.status, 0);
    EXPECT_NE(result.err.find("broken.package"), std::string::npos) << result.err;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1);
    EXPECT_TRUE(result.out.empty());
}

TEST(CliErrors, ExpandRefusesWhatItCannotExpandWholeAndOutputThatCannotBeWrittenFails) {
    test::TempDir dir;
    // An index of 28-byte entries: expanding it to another file would write an empty package.
    Bytes odd = SamplePackage();
    StoreU32(odd, kIndexSizeOffset, ByteReader(odd).ReadU32(kEntryCountOffset) * 28);
    const auto file = dir.Write("odd.package", odd);
    const auto copy = dir / "out.package";
    const auto result = Cli({"expand", file.string(), "-o", copy.string()});
    EXPECT_NE(result.status, 0);
    EXPECT_FALSE(std::filesystem::exists(copy));
#ifndef _WIN32
    if (std::filesystem::exists("/dev/full")) {
        const auto good = dir.Write("good.package", SamplePackage());
        const std::string command = test::ShellQuote(QH_CLI_PATH) + " index " + test::ShellQuote(good.string()) +
                                    " >/dev/full 2>/dev/null";
        EXPECT_NE(std::system(command.c_str()), 0) << "a full disk is a failure";
    }
#endif
}

}  // namespace
}  // namespace qh

#include <sstream>

#include <functional>
#include <random>
#include <limits>
#include <span>

#include "cli/json_stream.h"
#include "cli/neighborhood_commands.h"
#include "relationship/relationship.h"

namespace qh::cli {
namespace {

// Whatever the members hold (empty arrays and objects, nesting, strings with line breaks and
// letters beyond ASCII), the streamed text is the whole document's dump(2), byte for byte.
TEST(JsonObjectStream, WritesWhatTheWholeDocumentsDumpWould) {
    using J = nlohmann::ordered_json;
    J whole;
    std::ostringstream text;
    {
        JsonObjectStream out(text);
        const J first = {{"name", "Ünïcödé™\nsecond line"}, {"empty", J::object()}, {"list", J::array()}};
        out.Member("first", first);
        whole["first"] = first;
        out.BeginArray("none");
        out.EndArray();
        whole["none"] = J::array();
        out.BeginArray("some");
        whole["some"] = J::array();
        for (const J& element : {J(1), J("two"), J{{"three", J::array({3, J::array(), J::object()})}}, J::array()}) {
            out.Element(element);
            whole["some"].push_back(element);
        }
        out.EndArray();
        out.Member("flag", true);
        whole["flag"] = true;
        out.End();
    }
    EXPECT_EQ(text.str(), whole.dump(2) + "\n");
    std::ostringstream empty;
    JsonObjectStream(empty).End();
    EXPECT_EQ(empty.str(), J::object().dump(2) + "\n");
}

// Elements written a piece at a time on two threads come out in order, as the whole document's
// dump(2): several pieces and a part of one, after an element written before them, and none.
TEST(JsonObjectStream, ElementsMadeOnTwoThreadsComeOutInOrder) {
    using J = nlohmann::ordered_json;
    for (const std::size_t count : {std::size_t{0}, std::size_t{1}, std::size_t{2048}, std::size_t{9001}}) {
        J whole;
        whole["records"] = J::array();
        whole["records"].push_back("before");
        for (std::size_t i = 0; i < count; ++i) whole["records"].push_back({{"n", i}, {"text", std::to_string(i)}});
        whole["after"] = J::array();
        std::ostringstream text;
        {
            JsonObjectStream out(text);
            out.BeginArray("records");
            out.Element("before");
            out.ElementsText(count, [](JsonText& element, std::size_t i) {
                element.BeginObject().Key("n").Unsigned(i).Key("text").String(std::to_string(i)).EndObject();
            });
            out.EndArray();
            out.BeginArray("after");
            out.ElementsText(0, [](JsonText&, std::size_t) {});
            out.EndArray();
            out.End();
        }
        EXPECT_EQ(text.str(), whole.dump(2) + "\n") << count;
    }
    J alone = {{"records", J::array({J::array(), J::array(), J::array()})}};
    std::ostringstream text;
    {
        JsonObjectStream out(text);
        out.BeginArray("records");
        out.ElementsText(3, [](JsonText& element, std::size_t) { element.BeginArray().EndArray(); });
        out.EndArray();
        out.End();
    }
    EXPECT_EQ(text.str(), alone.dump(2) + "\n");
}

// The same calls made on the text writer and on the value builder give, as elements of a stream,
// the text of the value: nesting, empty containers, numbers at their limits, every escape.
TEST(JsonText, WritesWhatTheValueItDescribesDumpsTo) {
    using J = nlohmann::ordered_json;
    const std::string escapes = std::string("q\"b\\s/\b\f\n\r\t") + '\x01' + '\x1f' + "\x7f \xC3\xA9 \xE2\x84\xA2";
    const auto describe = [&](auto& out) {
        out.BeginObject();
        out.Key("min").Number(std::numeric_limits<std::int64_t>::min());
        out.Key("max").Unsigned(std::numeric_limits<std::uint64_t>::max());
        out.Key("zero").Number(0);
        out.Key(escapes).String(escapes);
        out.Key("empty object").BeginObject().EndObject();
        out.Key("empty array").BeginArray().EndArray();
        out.Key("list").BeginArray();
        out.Number(-1).Bool(true).Null().String("");
        out.BeginArray().Unsigned(7).BeginObject().Key("deep").Bool(false).EndObject().EndArray();
        out.BeginObject().EndObject();
        out.EndArray();
        out.Key("nothing").Null();
        out.EndObject();
    };
    JsonValue value;
    describe(value);
    std::ostringstream byValue;
    std::ostringstream byText;
    {
        JsonObjectStream out(byValue);
        out.BeginArray("records");
        out.Element(value.Take());
        out.Element(J::array());
        out.EndArray();
        out.End();
    }
    {
        JsonObjectStream out(byText);
        out.BeginArray("records");
        out.ElementText([&](JsonText& text) { describe(text); });
        out.ElementText([](JsonText& text) { text.BeginArray().EndArray(); });
        out.EndArray();
        out.End();
    }
    EXPECT_EQ(byText.str(), byValue.str());
    JsonValue again;
    describe(again);
    const J whole = {{"records", J::array({again.Take(), J::array()})}};
    EXPECT_EQ(byText.str(), whole.dump(2) + "\n");
}

// Strings of every length and mix (plain letters, quotes, backslashes, control characters, letters
// of two to four bytes, the escaped byte anywhere in an eight-byte block) are written as nlohmann
// writes them.
TEST(JsonText, EveryStringIsEscapedAsTheValueWouldBe) {
    const std::vector<std::string> pieces = {"a", "Z", " ", "~", "\"", "\\", "/", "\n", "\t", "\x01", "\x1f", "\x7f",
                                             "\xC3\xA9", "\xE2\x84\xA2", "\xF0\x9F\x90\xB1"};
    std::mt19937 random(20261211);
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const int length = static_cast<int>(random() % 40);
        // Mostly plain letters, as keys and names are, with now and then something else.
        for (int i = 0; i < length; ++i) text += pieces[random() % 4 == 0 ? random() % pieces.size() : random() % 4];
        std::string written;
        JsonText(written, 0).String(text);
        ASSERT_EQ(written, nlohmann::ordered_json(text).dump()) << round;
    }
}

// The records the dump writes as text read exactly as their values print, whatever they hold: a
// sim with a genetic record and one without, items without values and at their limits, every
// relationship flag and family relations known and unknown.
TEST(JsonText, TheDumpsRecordsAsTextAreTheirValuesText) {
    std::vector<std::pair<nlohmann::ordered_json, std::function<void(JsonText&)>>> records;
    Character sim;
    sim.firstName = "Zo\xC3\xAB \"Q\"";
    sim.schoolGrade = 13;
    sim.universityClass = 2;
    DNA dna;
    dna.skinTone = "00000002-0000-0000-0000-000000000000";
    GameEnvironment env;
    NeighborhoodItem item;
    item.itemGuid = 0xFFFFFFFF;
    item.values = {0, 65535, 7};
    for (const DNA* genes : {static_cast<const DNA*>(&dna), static_cast<const DNA*>(nullptr)}) {
        records.emplace_back(CharacterJson(sim, SortOrder{}, std::span(&item, 1), env, genes), [&, genes](JsonText& text) {
            WriteCharacterText(text, sim, SortOrder{}, std::span(&item, 1), env, genes);
        });
    }
    NeighborhoodItem bare;
    for (const NeighborhoodItem* one : {&item, &bare}) {
        records.emplace_back(ItemJson(*one), [one](JsonText& text) { WriteItemText(text, *one); });
    }
    std::vector<RelationshipRecord> relationships(3);
    relationships[0].flagsLow = relationships[0].flagsHigh = 0xFF;
    relationships[0].flagsUpper = 0xFFFF;
    relationships[0].shortTerm = -100;
    relationships[0].familyRelation = 3;
    relationships[1].familyRelation = -1;
    relationships[2].familyRelation = 1000;
    for (const RelationshipRecord& record : relationships) {
        records.emplace_back(RelationshipJson(record), [&record](JsonText& text) { WriteRelationshipText(text, record); });
    }
    for (const auto& [value, write] : records) {
        std::ostringstream byValue;
        std::ostringstream byText;
        {
            JsonObjectStream out(byValue);
            out.BeginArray("records");
            out.Element(value);
            out.EndArray();
            out.End();
        }
        {
            JsonObjectStream out(byText);
            out.BeginArray("records");
            out.ElementText(write);
            out.EndArray();
            out.End();
        }
        EXPECT_EQ(byText.str(), byValue.str());
    }
}

}  // namespace
}  // namespace qh::cli
