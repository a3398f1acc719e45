// Writes the demo game that scripts/demo runs the program on.
//
// Usage: quillhaven-demo-gen [--edition legacy|ultimate|retail] OUTPUT_FOLDER
//        quillhaven-demo-gen --large NEIGHBORHOODS_FOLDER [SIMS [LOTS]]   (N900: by default 1000
//        sims and 200 lots)
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>

#include "demo_game.h"

int main(int argc, char** argv) {
    // --edition legacy|ultimate|retail lays the game out as that edition (retail by default).
    qh::demo::DemoOptions options;
    if (argc >= 3 && std::strcmp(argv[1], "--edition") == 0) {
        const auto edition = qh::demo::EditionNamed(argv[2]);
        if (!edition) {
            std::fprintf(stderr, "quillhaven-demo-gen: --edition takes legacy, ultimate or retail, not \"%s\"\n", argv[2]);
            return 2;
        }
        options.edition = *edition;
        argv += 2;
        argc -= 2;
    }
    const bool large = argc >= 3 && argc <= 5 && std::strcmp(argv[1], "--large") == 0;
    // An option it does not know is no folder to write into (a folder named "--help" would be made).
    const bool unknownOption = argc >= 2 && !large && argv[1][0] == '-';
    if ((argc != 2 && !large) || unknownOption) {
        const bool help = argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0);
        std::fprintf(help ? stdout : stderr,
                     "usage: quillhaven-demo-gen [--edition legacy|ultimate|retail] OUTPUT_FOLDER | --large "
                     "NEIGHBORHOODS_FOLDER [SIMS [LOTS]]\n");
        return help ? 0 : 2;
    }
    try {
        if (large) {
            const int sims = argc >= 4 ? std::atoi(argv[3]) : 1000;
            const int lots = argc >= 5 ? std::atoi(argv[4]) : 200;
            if (sims < 1 || lots < 1) {
                std::fprintf(stderr, "quillhaven-demo-gen: SIMS and LOTS must be positive numbers\n");
                return 2;
            }
            qh::demo::WriteLargeNeighborhood(argv[2], "N900", sims, lots);
            return 0;
        }
        options.damagedNeighborhood = true;  // the player's demo shows the check at work
        const auto game = qh::demo::WriteDemoGame(argv[1], options);
        std::printf("%s\n", game.prefix.string().c_str());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "quillhaven-demo-gen: %s\n", error.what());
        return 1;
    }
    return 0;
}
