// Writes the demo game that scripts/demo runs the program on.
//
// Usage: quillhaven-demo-gen OUTPUT_FOLDER
#include <cstdio>
#include <filesystem>
#include <string>

#include "fixture/package_builder.h"
#include "platform/file_io.h"

namespace {

using qh::fixture::Key;

std::string Repeat(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
}

// A neighborhood-like package: compressed and plain resources and the compressed-resource
// directory, as the game stores them.
std::vector<std::uint8_t> DemoPackage() {
    qh::fixture::PackageBuilder builder;
    builder.Add(Key(0x43545353, 1), Repeat("Pleasant Valley ", 4))
        .Add(Key(0xAACE2EFB, 1), Repeat(std::string("\x01\x00\x20\x00", 4), 200), true)
        .Add(Key(0xAACE2EFB, 2), Repeat(std::string("\x02\x00\x21\x00", 4), 200), true)
        .Add(Key(0x4E474248, 1), Repeat("neighborhood data ", 60), true)
        .AddDirectory();
    return builder.Build();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: quillhaven-demo-gen OUTPUT_FOLDER\n");
        return 2;
    }
    try {
        const std::filesystem::path out = argv[1];
        std::filesystem::create_directories(out);
        qh::AtomicReplace(out / "Demo_Neighborhood.package", DemoPackage());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "quillhaven-demo-gen: %s\n", error.what());
        return 1;
    }
    return 0;
}
