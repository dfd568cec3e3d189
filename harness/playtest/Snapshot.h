#pragma once
// What a player sees and hears at chosen moments of a run, kept as reviewed golden files.
// A snapshot holds only what shows on screen or in the speakers: for every node its place in
// the tree, z-order, position (and where that lies on screen), scale, rotation, opacity,
// colour, picture and its size, text and visibility; for every sound started, its file, loop,
// volume and pitch. How the engine draws, schedules or counts its actions is left out, so the
// files change only when what the player meets changes.
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace Snapshot {

using Json = nlohmann::ordered_json;

// Playtest::tree() as one entry per node in drawing order, named by the path of class names
// from the scene down ("GameScene/GameLayer/StarManager/Star#3": the fourth Star among its
// siblings). Numbers are rounded to a thousandth; values at their defaults are left out.
Json scene(const nlohmann::json& tree);

// The sounds and music started, and the music stopped or paused, among Playtest::sounds() calls.
Json heard(const nlohmann::json& calls);

// A named moment: its frame, what was heard since the moment before, and the scene.
Json moment(const std::string& name, unsigned long long frame, const nlohmann::json& calls,
            const nlohmann::json& tree);

// A run: moments in order.
class Run {
  public:
    void add(Json moment) { _moments.push_back(std::move(moment)); }
    Json json() const { return Json{{"moments", _moments}}; }
    // One node or sound per line, so that a change reads as a short diff.
    std::string text() const;

  private:
    Json _moments = Json::array();
};

// Short readable lines for what differs between two runs (moment, node path, field, expected,
// actual), at most `limit` of them and a count of the rest; empty when they agree.
std::vector<std::string> differences(const Json& expected, const Json& actual, std::size_t limit = 12);

// Compares a run with its golden file. With DOVI_UPDATE_GOLDENS=1 in the environment the file
// is rewritten from the run instead, and nothing differs.
std::vector<std::string> compareWithGolden(const std::string& path, const Run& run);

} // namespace Snapshot
