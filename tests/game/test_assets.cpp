// Every file the game loads exists under assets/ and decodes; nothing there is unused; and every
// file name written in the game's sources is one of them (a misspelt name fails here).
#include "engine/base/PoCatalog.h"

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

const fs::path kAssets = fs::path(DOVI_SOURCE_DIR) / "assets";

struct Manifest {
    std::set<std::string> loaded;
    std::set<std::string> notLoaded;
};

Manifest readManifest() {
    Manifest m;
    std::ifstream in(kAssets / "manifest.txt");
    for (std::string line; std::getline(in, line);) {
        if (line.empty()) continue;
        if (line[0] == '#') {
            const std::string tag = "# not loaded:";
            if (line.rfind(tag, 0) == 0) {
                std::istringstream words(line.substr(tag.size()));
                for (std::string w; words >> w;)
                    m.notLoaded.insert(w);
            }
            continue;
        }
        m.loaded.insert(line);
    }
    return m;
}

bool hasSuffix(const std::string& s, const std::string& suffix) {
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

} // namespace

TEST(Assets, EveryListedFileDecodes) {
    const Manifest m = readManifest();
    ASSERT_GT(m.loaded.size(), 80u);
    ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
    ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024), 0) << Mix_GetError();
    ASSERT_EQ(TTF_Init(), 0);
    for (const auto& name : m.loaded) {
        const std::string path = (kAssets / name).string();
        ASSERT_TRUE(fs::is_regular_file(path)) << name;
        if (hasSuffix(name, ".png")) {
            SDL_Surface* s = IMG_Load(path.c_str());
            EXPECT_NE(s, nullptr) << name << ": " << IMG_GetError();
            if (s) {
                EXPECT_GT(s->w, 0) << name;
                SDL_FreeSurface(s);
            }
        } else if (hasSuffix(name, ".mp3")) {
            Mix_Chunk* c = Mix_LoadWAV(path.c_str());
            EXPECT_NE(c, nullptr) << name << ": " << Mix_GetError();
            if (c) {
                EXPECT_GT(c->alen, 1000u) << name;
                Mix_FreeChunk(c);
            }
        } else if (hasSuffix(name, ".ttf")) {
            TTF_Font* f = TTF_OpenFont(path.c_str(), 32);
            EXPECT_NE(f, nullptr) << name;
            if (f) TTF_CloseFont(f);
        } else if (hasSuffix(name, ".po")) {
            // A translation the game's own reader takes whole.
            std::stringstream text;
            text << std::ifstream(path).rdbuf();
            std::vector<std::string> problems;
            const auto po = cocos2d::PoCatalog::parse(text.str(), &problems);
            EXPECT_TRUE(problems.empty()) << name << ": " << problems.front();
            EXPECT_GT(po.size(), 80u) << name;
        } else {
            ADD_FAILURE() << "unexpected kind of file: " << name;
        }
    }
    TTF_Quit();
    Mix_CloseAudio();
    SDL_Quit();
}

TEST(Assets, NothingInTheFolderIsUnused) {
    const Manifest m = readManifest();
    for (const auto& entry : fs::recursive_directory_iterator(kAssets)) {
        if (!entry.is_regular_file()) continue;
        const std::string rel = fs::relative(entry.path(), kAssets).string();
        EXPECT_TRUE(m.loaded.count(rel) || m.notLoaded.count(rel))
            << rel << " is in assets/ but never loaded";
    }
}

TEST(Assets, EveryNameInTheGameSourcesIsListed) {
    const Manifest m = readManifest();
    const std::regex quoted(
        R"re("((?:GameScene|TitleScene|UpGradeScene|EventScene|Music|fonts)/[^"]+|hikari[^"/]*\.png)")re");
    std::size_t seen = 0;
    for (const auto& entry : fs::recursive_directory_iterator(fs::path(DOVI_SOURCE_DIR) / "game")) {
        if (entry.path().extension() != ".cpp" && entry.path().extension() != ".h") continue;
        std::stringstream text;
        text << std::ifstream(entry.path()).rdbuf();
        const std::string src = text.str();
        for (std::sregex_iterator it(src.begin(), src.end(), quoted), end; it != end; ++it) {
            std::string name = (*it)[1];
            if (auto pos = name.find("%d"); pos != std::string::npos) {
                // The obstruction pictures, numbered 1 to 15.
                for (int n = 1; n <= 15; ++n) {
                    const std::string expanded =
                        name.substr(0, pos) + std::to_string(n) + name.substr(pos + 2);
                    EXPECT_TRUE(m.loaded.count(expanded)) << expanded << " (" << entry.path() << ")";
                }
            } else {
                EXPECT_TRUE(m.loaded.count(name)) << name << " (" << entry.path() << ")";
            }
            ++seen;
        }
    }
    EXPECT_GT(seen, 0u);
}
