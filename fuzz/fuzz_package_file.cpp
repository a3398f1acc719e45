// Arbitrary bytes as a neighborhood package on disk: the catalogue scan must read it (or report
// it) with bounded work, and expanding it in place must either refuse it, leaving the file as it
// was, or leave a file that reads back as its own expansion. The input is capped by the fuzzer.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <unistd.h>

#include "package/extract.h"
#include "platform/errors.h"
#include "scratch_folder.h"
#include "workspace/neighborhood_catalogue.h"

namespace {

namespace fs = std::filesystem;

fs::path Folder() { return qh::fuzz::ScratchFolder("file"); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fs::path package = Folder() / "N001" / "N001_Neighborhood.package";
    fs::create_directories(package.parent_path());
    const qh::Bytes bytes(data, data + size);
    qh::fuzz::WriteFile(package, bytes);
    qh::SilentReporter reporter;
    qh::NullProgress progress;
    try {
        (void)qh::ScanNeighborhoods(Folder(), 1 + static_cast<int>(size % 3), reporter, progress);
    } catch (const qh::FormatError&) {
    } catch (const qh::IoError&) {
    }
    try {
        const qh::PackageImage image = qh::ExpandPackage(package, reporter);
        const qh::Bytes now = qh::ReadFileBytes(package);
        if (now != image) std::abort();
        if (qh::ExpandImage(now, reporter) != now) std::abort();  // an expanded file stays as it is
    } catch (const qh::FormatError&) {
        if (qh::ReadFileBytes(package) != bytes) std::abort();  // refused: the file as it was
    }
    return 0;
}
