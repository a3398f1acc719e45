#include "package/byte_reader.h"
#include "package/qfs.h"

#include <gtest/gtest.h>

#include <random>

#include "fixture/package_builder.h"
#include "fixture/qfs_encoder.h"
#include "package/extract.h"
#include "platform/errors.h"
#include "support/temp_dir.h"

namespace qh {
namespace {

// Stored bytes of a compressed resource: header with the declared length, then `codes`.
Bytes Stored(std::size_t declared, const Bytes& codes) {
    Bytes stored{0, 0, 0, 0, 0x10, 0xFB, static_cast<std::uint8_t>(declared >> 16),
                 static_cast<std::uint8_t>(declared >> 8), static_cast<std::uint8_t>(declared)};
    stored.insert(stored.end(), codes.begin(), codes.end());
    return stored;
}

struct Extracted {
    bool ok;
    std::string content;
    std::vector<std::string> messages;
};

Extracted Extract(const Bytes& stored) {
    const Bytes package = fixture::PackageBuilder().Add(fixture::Key(1, 1), stored).Build();
    std::vector<IndexEntry> entries;
    ReadIndex(package, PackageSource::File, entries);
    RecordingReporter reporter;
    Bytes out;
    const bool ok = ExtractResource(package, entries.at(0), out, reporter);
    return {ok, std::string(out.begin(), out.end()), reporter.Texts()};
}

TEST(QfsDecode, OverlappingCopyRepeatsThePattern) {
    Bytes out = test::ToBytes("ABC");
    DecodeQfs(Stored(6, {0x06, 0x00, 'X', 'Y'}), 6, out);
    EXPECT_EQ(std::string(out.begin(), out.end()), "ABCXYYYYY");

    // A run of period three, longer than its distance, in the four-byte form.
    const auto r = Extract(Stored(3 + 20, {0xC3, 0x00, 0x02, 0x0F, 'a', 'b', 'c', 0xFC}));
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.content, "abcabcabcabcabcabcabcab");
}

TEST(QfsDecode, EndCodesAndTheEntrySizeEndDecoding) {
    // 0xFC goes on; at the very end it adds nothing.
    auto r = Extract(Stored(4, {0xE0, 'A', 'B', 'C', 'D', 0xFC}));
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.content, "ABCD");
    r = Extract(Stored(6, {0xE0, 'A', 'B', 'C', 'D', 0xFC, 0xFE, 'E', 'F'}));
    EXPECT_EQ(r.content, "ABCDEF");
    // 0xFD as the last stored byte: no input remains for its literal.
    r = Extract(Stored(4, {0xE0, 'A', 'B', 'C', 'D', 0xFD}));
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.content, "ABCD");
    // An end code stops decoding even though bytes follow it.
    r = Extract(Stored(5, {0xFD, 'Z', 0xE0, 'A', 'B', 'C', 'D'}));
    EXPECT_EQ(r.content, "Z");
    // Without an end code, the stored bytes running out end decoding.
    r = Extract(Stored(4, {0xE0, 'A', 'B', 'C', 'D'}));
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.content, "ABCD");
}

TEST(QfsDecode, WrongLengthReportsDecompressionErrorAndKeepsWhatWasDecoded) {
    auto r = Extract(Stored(5, {0xE0, 'A', 'B', 'C', 'D', 0xFC}));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.content, "ABCD");
    EXPECT_EQ(r.messages, std::vector<std::string>{"Decompression Error"});
    // More than declared: decoding stops rather than growing without bound, and keeps nothing.
    r = Extract(Stored(2, {0xE0, 'A', 'B', 'C', 'D', 0xFC}));
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.content.empty());
}

TEST(QfsDecode, AHugeDeclaredLengthSetsAsideOnlyWhatTheCodesCanProduce) {
    Bytes out;
    DecodeQfs(Stored(0xFFFFFF, {0xE0, 'A', 'B', 'C', 'D', 0xFC}), 0xFFFFFF, out);
    EXPECT_EQ(std::string(out.begin(), out.end()), "ABCD");
    EXPECT_LT(out.capacity(), 4096u);

    // An index of many entries declaring 16 MiB each does not make the expansion reserve them.
    fixture::PackageBuilder builder;
    for (std::uint32_t i = 0; i < 200; ++i) builder.Add(fixture::Key(1, i), Stored(0xFFFFFF, {0xE0, 'a', 'b', 'c', 'd'}));
    RecordingReporter reporter;
    const PackageImage image = ExpandImage(builder.Build(), reporter);
    EXPECT_LT(image.capacity(), std::size_t{64} << 20);
    EXPECT_EQ(reporter.messages.size(), 200u);  // each one "Decompression Error"
}

TEST(QfsDecode, UncompressedBytesComeBackAsStored) {
    const Bytes plain = test::ToBytes("01234\x10\xFB rest of it");
    auto r = Extract(plain);
    EXPECT_EQ(r.content, std::string(plain.begin(), plain.end()));
    // The signature with a declared length equal to the stored size means "not compressed".
    const Bytes sameSize = Stored(14, {0xE0, 'A', 'B', 'C', 'D'});
    ASSERT_EQ(sameSize.size(), 14u);
    r = Extract(sameSize);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.content, std::string(sameSize.begin(), sameSize.end()));
}

TEST(QfsDecode, MalformedStreamsAreDecompressionErrorsInsteadOfReadingOutOfBounds) {
    for (const Bytes& stored : {Stored(10, {0x00, 0x05}),                            // before the start
                                Stored(10, {0xE4, 'a', 'b', 'c'}),                   // literals run out
                                Stored(10, {0xE0, 'a', 'b', 'c', 'd', 0x80, 0x01}),  // a code cut short
                                Stored(10, {0xFF, 'a'})}) {                          // three literals, one there
        const auto r = Extract(stored);
        EXPECT_FALSE(r.ok);
        EXPECT_TRUE(r.content.empty());
        EXPECT_EQ(r.messages, std::vector<std::string>{"Decompression Error"});
    }
    Bytes out;
    EXPECT_THROW(DecodeQfs(Stored(10, {0x00, 0x05}), 10, out), FormatError);
}

TEST(QfsDecode, CodesLeftOverAfterTheDeclaredLengthAreAnError) {
    // Declared 0, or a length that ends on a code boundary with codes after it: the stream says
    // more than its header, and a short resource must never pass for the whole one.
    for (std::size_t declared : {0u, 4u}) {
        const auto r = Extract(Stored(declared, {0xE0, 'A', 'B', 'C', 'D', 0xE0, 'E', 'F', 'G', 'H', 0xFC}));
        EXPECT_FALSE(r.ok) << declared;
        EXPECT_EQ(r.messages, std::vector<std::string>{"Decompression Error"});
    }
}

TEST(QfsDecode, AStreamAsLongAsItsContentIsDecodedWhenTheDirectoryListsIt) {
    // Four literals and a run of fourteen: 18 bytes decoded from 18 stored.
    const Bytes stored = Stored(18, {0xE0, 'A', 'B', 'C', 'D', 0x8A, 0x00, 0x03, 0xFC});
    ASSERT_EQ(stored.size(), 18u);
    const ResourceKey key = fixture::Key(1, 1);
    Bytes directory;
    for (std::uint32_t word : {key.typeId, key.groupId, key.instanceId, key.instance2Id, 18u}) AppendU32(directory, word);
    fixture::PackageBuilder builder;
    builder.Add(key, stored);
    builder.Add(fixture::Key(kCompressedDirectoryType, 0x286B1F03, 0xE86B1EEF), directory);
    RecordingReporter reporter;
    const PackageImage image = ExpandImage(builder.Build(), reporter);
    std::vector<IndexEntry> entries;
    ReadIndex(image, PackageSource::Image, entries);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(std::string(image.begin() + entries[0].offset, image.begin() + entries[0].offset + entries[0].size),
              "ABCDABCDABCDABCDAB");
    // Without the directory the same bytes are content as they stand.
    EXPECT_EQ(Extract(stored).content, std::string(stored.begin(), stored.end()));
}

TEST(QfsDecode, ABackReferenceNeverReachesThePreviousResource) {
    // Two resources expanded back to back: the second refers 6 bytes back, into the first.
    fixture::PackageBuilder builder;
    builder.Add(fixture::Key(1, 1), test::ToBytes("abcdef"));
    builder.Add(fixture::Key(1, 2), Stored(10, {0x01, 0x05, 'x', 'y'}));
    RecordingReporter reporter;
    ExpansionFaults faults;
    (void)ExpandImage(builder.Build(), reporter, nullptr, &faults);
    ASSERT_EQ(faults.undecodable.size(), 1u);
    EXPECT_EQ(faults.undecodable[0], "resource 00000001 00000002");
}

TEST(QfsDecode, StoredBytesPastTheEndOfThePackageThrow) {
    Bytes package = fixture::PackageBuilder().Add(fixture::Key(1, 1), test::ToBytes("abc")).Build();
    std::vector<IndexEntry> entries;
    ReadIndex(package, PackageSource::Image, entries);
    entries[0].size = 0xFFFFFFF0;
    Bytes out;
    SilentReporter reporter;
    EXPECT_THROW(ExtractResource(package, entries[0], out, reporter), FormatError);
}

// Counts the control-code forms of an encoded stream, to show the encoder uses them all.
std::array<int, 4> CountForms(const Bytes& stored) {
    std::array<int, 4> forms{};
    std::size_t pos = kQfsHeaderSize;
    while (pos < stored.size()) {
        const std::uint8_t b0 = stored[pos];
        if (b0 < 0x80) {
            ++forms[0];
            pos += 2 + (b0 & 3);
        } else if (b0 < 0xC0) {
            ++forms[1];
            pos += 3 + (stored[pos + 1] >> 6);
        } else if (b0 < 0xE0) {
            ++forms[2];
            pos += 4 + (b0 & 3);
        } else if (b0 < 0xFC) {
            ++forms[3];
            pos += 1 + ((b0 & 0x1F) << 2) + 4;
        } else {
            break;
        }
    }
    return forms;
}

Bytes Random(std::size_t n, unsigned seed, int alphabet = 256) {
    std::mt19937 random(seed);
    Bytes bytes(n);
    for (auto& b : bytes) b = static_cast<std::uint8_t>(random() % alphabet);
    return bytes;
}

TEST(QfsEncoder, RoundTripsManyShapes) {
    std::vector<Bytes> inputs;
    inputs.push_back({});
    inputs.push_back({42});
    inputs.push_back(test::ToBytes("ab"));
    inputs.push_back(Bytes(100000, 0));
    inputs.push_back(Random(50000, 1));
    inputs.push_back(Random(70000, 2, 4));
    std::string text;
    for (int i = 0; i < 3000; ++i) text += "Sim number " + std::to_string(i * 7 % 113) + " likes pie. ";
    inputs.push_back(test::ToBytes(text));
    // A block repeated at distances beyond 16 KiB and 64 KiB, as long as the long form allows.
    Bytes far = Random(40000, 3);
    Bytes filler = Random(60000, 4);
    Bytes farInput = far;
    farInput.insert(farInput.end(), filler.begin(), filler.end());
    farInput.insert(farInput.end(), far.begin(), far.end());
    inputs.push_back(farInput);
    for (std::size_t n = 1; n < 40; ++n) inputs.push_back(Random(n, static_cast<unsigned>(n), 3));

    for (const Bytes& raw : inputs) {
        const Bytes stored = fixture::QfsEncode(raw);
        EXPECT_NE(stored.size(), raw.size());
        Bytes decoded;
        const std::size_t declared = QfsDeclaredLength(stored);
        ASSERT_EQ(declared, raw.size());
        DecodeQfs(stored, declared, decoded);
        ASSERT_EQ(decoded, raw) << "input of " << raw.size() << " bytes";
        const Extracted r = Extract(stored);
        EXPECT_TRUE(r.ok);
        EXPECT_EQ(r.content.size(), raw.size());
    }
}

TEST(QfsEncoder, UsesEveryFormAndTheLongestMatches) {
    // Short repeats near (two-byte form), medium ones (three-byte form), a long run (four-byte
    // form) and incompressible stretches (literal runs).
    Bytes raw = Random(3000, 5);
    const Bytes near(raw.begin() + 2990, raw.end());
    raw.insert(raw.end(), near.begin(), near.end());
    const Bytes medium(raw.begin() + 100, raw.begin() + 150);
    raw.insert(raw.end(), medium.begin(), medium.end());
    raw.insert(raw.end(), 5000, 'z');
    const Bytes stored = fixture::QfsEncode(raw);
    const auto forms = CountForms(stored);
    for (int form = 0; form < 4; ++form) EXPECT_GT(forms[form], 0) << "form " << form;
    // 5000 equal bytes need only a handful of 1028-byte copies.
    EXPECT_LT(stored.size(), 3000u + 10u + 50u + 100u);
}

}  // namespace
}  // namespace qh
