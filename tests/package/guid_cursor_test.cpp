// GUID text forms, the byte cursor and the checked writer.
#include <gtest/gtest.h>

#include "package/byte_reader.h"
#include "package/guid.h"
#include "platform/errors.h"
#include "platform/file_io.h"

namespace qh {
namespace {

TEST(Guid, EachFormatPlacesTheStoredBytesItsOwnWay) {
    const Guid4 guid{0x12, 0x34, 0x56, 0x78};  // stored bytes; the number 0x78563412
    EXPECT_EQ(FormatGuid(guid, GuidFormat::StoredBytes), "12345678");
    EXPECT_EQ(FormatGuid(guid, GuidFormat::Number), "78563412");
    EXPECT_EQ(FormatGuid(guid, GuidFormat::WordSwapped), "34127856");
    EXPECT_EQ(GuidKey(guid), "12345678");
    EXPECT_EQ(GuidValue(guid), 0x78563412u);
    EXPECT_EQ(GuidFromValue(0x78563412u), guid);
    EXPECT_EQ(HexId(0x2CCF9BED), "2CCF9BED");
    for (GuidFormat format : {GuidFormat::StoredBytes, GuidFormat::Number, GuidFormat::WordSwapped}) {
        EXPECT_EQ(ParseGuid(FormatGuid(guid, format), format), guid);
    }
    EXPECT_EQ(ParseGuid("abcdef01", GuidFormat::StoredBytes), (Guid4{0xAB, 0xCD, 0xEF, 0x01}));
}

TEST(Guid, ParsingRefusesAnythingButItsDigits) {
    for (const char* bad : {"", "1234567", "123456789", "1234567G", "0x123456"}) {
        EXPECT_FALSE(ParseGuid(bad, GuidFormat::StoredBytes)) << bad;
    }
    EXPECT_EQ(ParseHexNumber("0x1F"), 0x1Fu);
    EXPECT_EQ(ParseHexNumber("ffffffff"), 0xFFFFFFFFu);
    for (const char* bad : {"", "0x", "123456789", "12 3", "-1"}) EXPECT_FALSE(ParseHexNumber(bad)) << bad;
}

TEST(ByteCursor, ReadsFrontToBackAndStopsAtTheEnd) {
    const Bytes bytes{0x01, 0x34, 0x12, 0x78, 0x56, 0x34, 0x12, 'a', 'b', 0, 'c'};
    ByteCursor in(bytes, "sample");
    EXPECT_EQ(in.U8(), 1);
    EXPECT_EQ(in.U16(), 0x1234);
    EXPECT_EQ(in.U32(), 0x12345678u);
    EXPECT_EQ(in.ZeroTerminated(), "ab");
    EXPECT_EQ(in.at(), 10u);
    try {
        in.ZeroTerminated("name");  // "c" has no end
        FAIL();
    } catch (const FormatError& error) {
        EXPECT_NE(std::string(error.what()).find("name of sample"), std::string::npos);
    }
    EXPECT_EQ(in.at(), 10u);  // a failed read moves nothing
    EXPECT_THROW(in.U16(), FormatError);
    in.Seek(9);
    EXPECT_THROW(in.Skip(3), FormatError);
    in.Seek(1000);
    EXPECT_THROW(in.U8(), FormatError);
    EXPECT_THROW(in.ZeroTerminated(), FormatError);
}

TEST(ByteWriter, AppendsLittleEndianAndPatchesOnlyWhatItWrote) {
    Bytes out;
    ByteWriter writer(out);
    writer.U8(9);
    const std::size_t count = writer.PlaceholderU32();
    writer.U16(0xBEEF);
    writer.Text("hi");
    writer.PatchU32(count, 0x01020304);
    EXPECT_EQ(out, (Bytes{9, 4, 3, 2, 1, 0xEF, 0xBE, 'h', 'i'}));
    EXPECT_THROW(writer.PatchU32(6, 1), FormatError);
    EXPECT_THROW(writer.PatchU16(static_cast<std::size_t>(-1), 1), FormatError);
    EXPECT_EQ(out.size(), 9u);
}

}  // namespace
}  // namespace qh
