#include "package/text_list.h"

#include <gtest/gtest.h>

#include "fixture/resource_builders.h"
#include "platform/errors.h"

namespace qh {
namespace {

using fixture::TextListBytes;

TEST(ReadTextList, LanguageRuleFillsFromEnglishThenTheGamesLanguage) {
    const Bytes bytes = TextListBytes({{1, "A", "d"}, {1, "B", ""}, {1, "C", ""},
                                       {3, "X", "x"}, {3, "", ""}, {3, "", ""}});
    std::vector<std::string> strings(3);
    ReadTextList(bytes, 3, strings);
    EXPECT_EQ(strings, (std::vector<std::string>{"X", "B", "C"}));
    ReadTextList(bytes, 1, strings);
    EXPECT_EQ(strings, (std::vector<std::string>{"A", "B", "C"}));
}

TEST(ReadTextList, TrimsAndLeavesWhatTheListDoesNotSupply) {
    std::vector<std::string> strings{"keep0", "keep1", "keep2"};
    ReadTextList(TextListBytes({{1, " \t Ann\x01 ", ""}, {4, "  ", ""}}), 4, strings);
    EXPECT_EQ(strings, (std::vector<std::string>{"Ann", "keep1", "keep2"}));

    Bytes noCode = TextListBytes({{1, "Bob", ""}});
    noCode[65] = 0xFE;
    ReadTextList(noCode, 1, strings);
    EXPECT_EQ(strings[0], "Ann");
    ReadTextList(Bytes(10, 0), 1, strings);  // too short to hold the code at all
    EXPECT_EQ(strings[0], "Ann");
}

TEST(ReadTextList, TruncatedEntriesThrow) {
    Bytes bytes = TextListBytes({{1, "Bella", "desc"}});
    bytes.pop_back();  // the description loses its terminating zero
    std::vector<std::string> strings(1);
    EXPECT_THROW(ReadTextList(bytes, 1, strings), FormatError);
    Bytes count = TextListBytes({{1, "x", ""}});
    count[66] = 9;  // claims nine entries
    EXPECT_THROW(ReadTextList(count, 1, strings), FormatError);
}

TEST(WriteTextList, NameAndDescriptionLayouts) {
    const std::vector<std::string> strings{"Pleasantview", "A quiet town"};
    Bytes english;
    WriteTextList(english, strings, TextListLayout::NameAndDescription, 1);
    auto list = ParseTextList(english);
    ASSERT_TRUE(list);
    ASSERT_EQ(list->entries.size(), 2u);
    EXPECT_EQ(list->entries[1].value, "A quiet town");
    EXPECT_EQ(list->entries[1].description, "");

    Bytes german;
    WriteTextList(german, strings, TextListLayout::NameAndDescription, 4);
    list = ParseTextList(german);
    ASSERT_EQ(list->entries.size(), 4u);
    EXPECT_EQ(list->entries[0].language, 1);
    EXPECT_EQ(list->entries[1].language, 1);
    EXPECT_EQ(list->entries[2].language, 4);
    EXPECT_EQ(list->entries[3].value, "A quiet town");
    EXPECT_TRUE(std::all_of(german.begin(), german.begin() + 64, [](auto b) { return b == 0; }));
}

TEST(WriteTextList, CharacterLayoutHas132EntriesAndTheDocumentedLength) {
    const std::vector<std::string> strings{"J\xC3\xBCrgen", "Likes pie", "M\xC3\xBCller"};
    const std::size_t lengths = strings[0].size() + strings[1].size() + strings[2].size();
    for (int language : {1, 4}) {
        Bytes out;
        WriteTextList(out, strings, TextListLayout::Character, language);
        EXPECT_EQ(out.size(), 464 + lengths * (language == 1 ? 1 : 2));
        const auto list = ParseTextList(out);
        ASSERT_EQ(list->entries.size(), 132u);
        EXPECT_EQ(list->entries[0].value, strings[0]);
        EXPECT_EQ(list->entries[131].language, 44);
        std::vector<std::string> back(3);
        ApplyLanguageRule(*list, language, back);
        EXPECT_EQ(back, strings);
    }
}

TEST(DecodeUtf8, SequencesAndWhatShowsForBrokenOnes) {
    EXPECT_EQ(DecodeUtf8("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"), (std::u32string{U'a', 0xE9, 0x20AC, 0x1F600}));
    // A stray continuation byte, a sequence cut short and an overlong form each show as U+FFFD;
    // the text after them is kept.
    EXPECT_EQ(DecodeUtf8("\x80z"), (std::u32string{0xFFFD, U'z'}));
    EXPECT_EQ(DecodeUtf8("A\xE2\x82"), (std::u32string{U'A', 0xFFFD, 0xFFFD}));
    EXPECT_EQ(DecodeUtf8("\xC0\xAFok"), (std::u32string{0xFFFD, 0xFFFD, U'o', U'k'}));
    EXPECT_EQ(ToValidUtf8("Ren\xE9"), "Ren\xEF\xBF\xBD");
    for (const std::string& valid : {std::string(), std::string("Bella Goth\r\n\t"), std::string(1, '\0'),
                                     std::string("Ren\xC3\xA9" "e \xE2\x84\xA2")}) {
        EXPECT_EQ(ToValidUtf8(valid), valid);
    }
    EXPECT_EQ(ToValidUtf8("ascii then \xFF"), "ascii then \xEF\xBF\xBD");
}

}  // namespace
}  // namespace qh
