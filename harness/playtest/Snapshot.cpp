#include "harness/playtest/Snapshot.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

namespace Snapshot {

namespace {

// A thousandth of a design unit (or degree, or scale) is far below what shows, and rounding
// keeps a last-bit difference in arithmetic out of the files.
double rounded(double v) {
    const double r = std::round(v * 1000.0) / 1000.0;
    return r == 0.0 ? 0.0 : r;
}

Json pair(const nlohmann::json& node, const char* a, const char* b) {
    return Json::array({rounded(node.value(a, 0.0)), rounded(node.value(b, 0.0))});
}

Json entryFor(const nlohmann::json& node, const std::string& path) {
    Json e;
    e["node"] = path;
    if (const int z = node.value("z", 0)) e["z"] = z;
    e["at"] = pair(node, "x", "y");
    if (const Json world = pair(node, "wx", "wy"); world != e["at"]) e["world"] = world;
    const std::string image = node.value("image", "");
    if (!image.empty()) e["size"] = pair(node, "w", "h");
    const Json scale = pair(node, "sx", "sy");
    if (scale[0] != scale[1])
        e["scale"] = scale;
    else if (scale[0] != 1.0)
        e["scale"] = scale[0];
    if (const double rot = rounded(node.value("rot", 0.0))) e["rot"] = rot;
    if (const int opacity = node.value("opacity", 255); opacity != 255) e["opacity"] = opacity;
    if (const auto& c = node["color"]; c != nlohmann::json::array({255, 255, 255})) e["color"] = c;
    if (!image.empty()) e["image"] = image;
    if (node.contains("pressed")) e["pressed"] = node["pressed"];
    if (node.value("selected", false)) e["selected"] = true;
    if (node.contains("text")) e["text"] = node["text"];
    if (!node.value("visible", true)) e["hidden"] = true;
    return e;
}

void flatten(const nlohmann::json& node, const std::string& path, Json& out) {
    if (node.is_null()) return;
    const std::string type = node.value("type", "?");
    if (type == "TransitionFade") {
        // Both scenes run under a fade; each is named by the half it belongs to.
        out.push_back(Json{{"node", path}});
        flatten(node["out"], path + "/out " + node["out"].value("type", "?"), out);
        flatten(node["in"], path + "/in " + node["in"].value("type", "?"), out);
        return;
    }
    out.push_back(entryFor(node, path));
    std::map<std::string, int> seen;
    for (const auto& child : node["children"]) {
        const std::string childType = child.value("type", "?");
        std::string childPath = path + "/" + childType;
        if (const int n = seen[childType]++) childPath.append("#").append(std::to_string(n));
        flatten(child, childPath, out);
    }
}

std::string brief(const Json& value) {
    if (value.is_null()) return "(default)";
    std::string s = value.dump();
    return s.size() > 160 ? s.substr(0, 157) + "..." : s;
}

// Collects difference lines up to a limit and counts the rest.
struct Report {
    std::size_t limit;
    std::vector<std::string> lines;
    std::size_t hidden = 0;
    void add(const std::string& line) {
        if (lines.size() < limit)
            lines.push_back(line);
        else
            ++hidden;
    }
};

void compareSounds(const std::string& at, const Json& expected, const Json& actual, Report& r) {
    const std::size_t n = std::max(expected.size(), actual.size());
    for (std::size_t i = 0; i < n; ++i) {
        const Json e = i < expected.size() ? expected[i] : Json();
        const Json a = i < actual.size() ? actual[i] : Json();
        if (e != a)
            r.add(at + ": sound " + std::to_string(i + 1) + ": expected " +
                  (e.is_null() ? "none" : brief(e)) + ", actual " + (a.is_null() ? "none" : brief(a)));
    }
}

void compareNodes(const std::string& at, const Json& expected, const Json& actual, Report& r) {
    std::map<std::string, const Json*> byPath;
    for (const auto& node : actual)
        byPath[node["node"]] = &node;
    std::vector<std::string> commonInExpectedOrder;
    for (const auto& e : expected) {
        const std::string path = e["node"];
        const auto found = byPath.find(path);
        if (found == byPath.end()) {
            r.add(at + ": " + path + " is gone");
            continue;
        }
        commonInExpectedOrder.push_back(path);
        const Json& a = *found->second;
        for (const auto& [key, value] : e.items())
            if (!a.contains(key) || a[key] != value)
                r.add(at + ": " + path + " " + key + ": expected " + brief(value) + ", actual " +
                      brief(a.contains(key) ? a[key] : Json()));
        for (const auto& [key, value] : a.items())
            if (!e.contains(key))
                r.add(at + ": " + path + " " + key + ": expected (default), actual " + brief(value));
        byPath.erase(found);
    }
    for (const auto& a : actual) {
        const std::string path = a["node"];
        if (byPath.count(path)) r.add(at + ": " + path + " is new: " + brief(a));
    }
    // Same nodes, other drawing order: equal z-orders added the other way round.
    std::size_t i = 0;
    for (const auto& a : actual) {
        const std::string path = a["node"];
        if (i < commonInExpectedOrder.size() && path == commonInExpectedOrder[i]) {
            ++i;
        } else if (std::find(commonInExpectedOrder.begin(), commonInExpectedOrder.end(), path) !=
                   commonInExpectedOrder.end()) {
            r.add(at + ": drawn in another order: expected " + commonInExpectedOrder[i] + " before " + path);
            return;
        }
    }
}

} // namespace

Json scene(const nlohmann::json& tree) {
    Json out = Json::array();
    flatten(tree, tree.is_null() ? "" : tree.value("type", "?"), out);
    return out;
}

Json heard(const nlohmann::json& calls) {
    Json out = Json::array();
    for (const auto& c : calls) {
        const std::string call = c.value("call", "");
        Json s;
        if (call == "playEffect") {
            s["effect"] = c["file"];
            s["pitch"] = rounded(c.value("pitch", 1.0));
        } else if (call == "playBackgroundMusic") {
            s["music"] = c["file"];
        } else if (call == "stopBackgroundMusic" || call == "pauseBackgroundMusic" ||
                   call == "resumeBackgroundMusic") {
            out.push_back(Json{{"music", call.substr(0, call.find('B'))}});
            continue;
        } else {
            continue;
        }
        s["loop"] = c.value("loop", false);
        s["volume"] = rounded(c.value("volume", 1.0));
        out.push_back(std::move(s));
    }
    return out;
}

Json moment(const std::string& name, unsigned long long frame, const nlohmann::json& calls,
            const nlohmann::json& tree) {
    return Json{{"moment", name}, {"frame", frame}, {"sounds", heard(calls)}, {"nodes", scene(tree)}};
}

std::string Run::text() const {
    std::ostringstream out;
    out << "{\"moments\": [\n";
    for (std::size_t m = 0; m < _moments.size(); ++m) {
        const Json& entry = _moments[m];
        out << "{\"moment\": " << entry["moment"].dump() << ", \"frame\": " << entry["frame"].dump() << ",\n";
        for (const char* list : {"sounds", "nodes"}) {
            out << " \"" << list << "\": [";
            const Json& items = entry[list];
            for (std::size_t i = 0; i < items.size(); ++i)
                out << (i ? ",\n  " : "\n  ") << items[i].dump();
            out << "]" << (list[0] == 's' ? ",\n" : "");
        }
        out << "}" << (m + 1 < _moments.size() ? ",\n" : "\n");
    }
    out << "]}\n";
    return out.str();
}

std::vector<std::string> differences(const Json& expected, const Json& actual, std::size_t limit) {
    Report r{limit, {}};
    const Json& was = expected["moments"];
    const Json& now = actual["moments"];
    for (std::size_t m = 0; m < std::max(was.size(), now.size()); ++m) {
        if (m >= was.size()) {
            r.add("new moment: " + now[m]["moment"].get<std::string>());
            continue;
        }
        const std::string name = was[m]["moment"];
        if (m >= now.size() || now[m]["moment"] != name) {
            r.add("moment " + std::to_string(m + 1) + ": expected " + was[m]["moment"].dump() + ", actual " +
                  (m < now.size() ? now[m]["moment"].dump() : std::string("none")));
            continue;
        }
        if (was[m]["frame"] != now[m]["frame"])
            r.add(name + ": at frame " + now[m]["frame"].dump() + ", expected " + was[m]["frame"].dump());
        compareSounds(name, was[m]["sounds"], now[m]["sounds"], r);
        compareNodes(name, was[m]["nodes"], now[m]["nodes"], r);
    }
    if (r.hidden) r.lines.push_back("... and " + std::to_string(r.hidden) + " more differences");
    return r.lines;
}

std::vector<std::string> compareWithGolden(const std::string& path, const Run& run) {
    if (const char* update = std::getenv("DOVI_UPDATE_GOLDENS"); update && std::string(update) == "1") {
        std::ofstream(path) << run.text();
        return {};
    }
    std::ifstream in(path);
    if (!in) return {"no golden file " + path + " (DOVI_UPDATE_GOLDENS=1 writes it)"};
    const Json golden = Json::parse(in, nullptr, false);
    if (golden.is_discarded()) return {"golden file " + path + " is not JSON"};
    return differences(golden, run.json());
}

} // namespace Snapshot
