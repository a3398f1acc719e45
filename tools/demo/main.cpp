// Writes the demo game that scripts/demo runs the program on.
//
// Usage: quillhaven-demo-gen OUTPUT_FOLDER
//        quillhaven-demo-gen --large NEIGHBORHOODS_FOLDER   (N900: 1000 sims, 200 lots)
#include <cstdio>
#include <cstring>
#include <exception>

#include "demo_game.h"

int main(int argc, char** argv) {
    const bool large = argc == 3 && std::strcmp(argv[1], "--large") == 0;
    if (argc != 2 && !large) {
        std::fprintf(stderr, "usage: quillhaven-demo-gen OUTPUT_FOLDER | --large NEIGHBORHOODS_FOLDER\n");
        return 2;
    }
    try {
        if (large) {
            qh::demo::WriteLargeNeighborhood(argv[2], "N900", 1000, 200);
            return 0;
        }
        const auto game = qh::demo::WriteDemoGame(argv[1]);
        std::printf("%s\n", game.prefix.string().c_str());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "quillhaven-demo-gen: %s\n", error.what());
        return 1;
    }
    return 0;
}
