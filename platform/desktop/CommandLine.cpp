#include "platform/desktop/CommandLine.h"

#include "game/common/GameVersion.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace {

constexpr const char* kUsage = "Usage: doviveduzuz [--help | --version]\n"
                               "Heal dead planets by repeating rows of elements.\n"
                               "\n"
                               "  -h, --help     show this help and exit\n"
                               "  -V, --version  show the version and exit\n"
                               "\n"
                               "Without an option the game opens its window. Progress is kept in\n"
                               "$XDG_DATA_HOME/doviveduzuz (by default ~/.local/share/doviveduzuz).\n"
                               "See doviveduzuz(6) for the controls.\n";

// A reader that has gone away (a full disk, a closed pipe) is told by the exit status.
int printed(std::FILE* stream) {
    return std::fflush(stream) == 0 && !std::ferror(stream) ? 0 : 1;
}

// An argument is named back as far as a reader can take in; a whole pasted file is not.
std::string shortened(std::string_view text) {
    constexpr std::size_t kShown = 60;
    if (text.size() <= kShown) return std::string(text);
    std::size_t cut = kShown;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xc0) == 0x80)
        --cut; // not inside a character
    return std::string(text.substr(0, cut)) + "\u2026";
}

} // namespace

std::optional<int> CommandLine::answer(int argc, char** argv) {
    if (argc < 2) return std::nullopt;
    const std::string_view first = argv[1];
    const bool help = first == "--help" || first == "-h";
    const bool version = first == "--version" || first == "-V";
    if ((help || version) && argc == 2) {
        if (help)
            std::fputs(kUsage, stdout);
        else
            std::printf("doviveduzuz %s\n", kGameVersion);
        return printed(stdout);
    }
    // Each option stands alone; whatever comes first that is not one is named.
    const std::string_view wrong = help || version ? argv[2] : argv[1];
    const bool looksLikeOption = wrong.size() > 1 && wrong.front() == '-';
    std::fprintf(stderr, "doviveduzuz: %s '%s'\nTry 'doviveduzuz --help'.\n",
                 looksLikeOption ? "unknown option" : "unexpected argument", shortened(wrong).c_str());
    return 2;
}
