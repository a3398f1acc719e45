// Arbitrary bytes as a package: the index reader, resource extraction and expansion must never
// crash, hang or allocate without bound; malformed input may only throw FormatError.
#include <cstdint>
#include <span>

#include "package/extract.h"
#include "platform/errors.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    qh::SilentReporter reporter;
    std::vector<qh::IndexEntry> entries;
    try {
        qh::ReadIndex(bytes, qh::PackageSource::File, entries);
        for (const auto& entry : entries) {
            qh::Bytes out;
            try {
                qh::ExtractResource(bytes, entry, out, reporter);
            } catch (const qh::FormatError&) {
            }
        }
    } catch (const qh::FormatError&) {
    }
    try {
        // A limit well inside the fuzzer's own memory limit: index entries sharing one stream
        // must be refused, not expanded without bound.
        const qh::PackageImage image = qh::ExpandImage(bytes, reporter, nullptr, nullptr, std::size_t{128} << 20);
        qh::ReadIndex(image, qh::PackageSource::Image, entries);
    } catch (const qh::FormatError&) {
    }
    return 0;
}
