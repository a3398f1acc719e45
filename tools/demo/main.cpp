// Writes the demo game that scripts/demo runs the program on.
//
// Usage: quillhaven-demo-gen OUTPUT_FOLDER
#include <cstdio>
#include <exception>

#include "demo_game.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: quillhaven-demo-gen OUTPUT_FOLDER\n");
        return 2;
    }
    try {
        const auto game = qh::demo::WriteDemoGame(argv[1]);
        std::printf("%s\n", game.prefix.string().c_str());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "quillhaven-demo-gen: %s\n", error.what());
        return 1;
    }
    return 0;
}
