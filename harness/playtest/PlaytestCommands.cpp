// The harness's text protocol: one command per line, each in one table with what `help` says
// of it, and one answer per line.
#include "harness/playtest/Playtest.h"
#include "harness/playtest/Snapshot.h"

#include "engine/app/EventPump.h"
#include "engine/input/InputMap.h"
#include "engine/window/GLView.h"
#include "game/common/GameConstants.h"
#include "game/common/Language.h"
#include "game/event/EventScene.h"
#include "game/round/GameScene.h"
#include "game/shop/UpgradeScene.h"
#include "game/title/TitleScene.h"
#include "harness/playtest/VirtualInput.h"

#include <SDL.h>
#include <charconv>
#include <cstring>
#include <sstream>

USING_NS_CC;
using nlohmann::json;

namespace {

std::vector<std::string> split(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

long long toInt(const std::string& word, const std::string& line) {
    long long value = 0;
    auto [end, err] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (err != std::errc() || end != word.data() + word.size())
        throw Playtest::BadCommand("not a whole number in: " + line);
    return value;
}

float toFloat(const std::string& word, const std::string& line) {
    try {
        std::size_t used = 0;
        float value = std::stof(word, &used);
        if (used == word.size()) return value;
    } catch (const std::exception&) {
    }
    throw Playtest::BadCommand("not a number in: " + line);
}

// Everything from the second word on: names that may hold spaces ("Keypad 7").
std::string argument(const std::string& line, const std::vector<std::string>& words) {
    if (words.size() < 2) throw Playtest::BadCommand(words[0] + " needs an argument: " + line);
    std::string rest = line.substr(line.find(words[1], words[0].size()));
    rest.erase(rest.find_last_not_of(" \t\r") + 1);
    return rest;
}

void expectWords(const std::vector<std::string>& words, std::size_t count, const std::string& line) {
    if (words.size() != count) throw Playtest::BadCommand("wrong number of arguments: " + line);
}

} // namespace

struct Playtest::Command {
    const char* name;
    // What `help` shows after the name.
    const char* usage;
    // Seeding and asking for help come before the game starts; everything else starts it.
    bool beforeLaunch;
    std::string (*run)(Playtest& pt, const std::vector<std::string>& words, const std::string& line);
};

const std::vector<Playtest::Command>& Playtest::commands() {
    using Words = const std::vector<std::string>&;
    static const std::vector<Command> table = {
        {"seed", "N: the random draws from seed N", true,
         [](Playtest&, Words words, const std::string& line) {
             expectWords(words, 2, line);
             Random::seed(static_cast<unsigned>(toInt(words[1], line)));
             return std::string("ok");
         }},
        {"help", ": every command", true, [](Playtest&, Words, const std::string&) { return help(); }},
        {"step", "N: N frames of 1/60 s", false,
         [](Playtest& pt, Words words, const std::string& line) {
             expectWords(words, 2, line);
             const long long n = toInt(words[1], line);
             if (n < 0) throw BadCommand("negative step: " + line);
             pt.step(static_cast<int>(n));
             return std::string("ok");
         }},
        {"open", "title|shop C|event C T L|game C T L: that scene, at once", false,
         [](Playtest& pt, Words words, const std::string&) {
             pt.open(words);
             return std::string("ok");
         }},
        {"tap", "X Y: down and up at once, straight to the director", false,
         [](Playtest& pt, Words words, const std::string& line) {
             return pointer(pt, words, line, &Playtest::tap);
         }},
        {"down", "X Y: a finger or the mouse goes down", false,
         [](Playtest& pt, Words words, const std::string& line) {
             return pointer(pt, words, line, &Playtest::down);
         }},
        {"move", "X Y: the held pointer moves", false,
         [](Playtest& pt, Words words, const std::string& line) {
             return pointer(pt, words, line, &Playtest::move);
         }},
        {"up", "X Y: the held pointer lets go", false,
         [](Playtest& pt, Words words, const std::string& line) {
             return pointer(pt, words, line, &Playtest::up);
         }},
        {"key", "[Alt+]NAME [down|up]: a key through SDL's events", false,
         [](Playtest& pt, Words words, const std::string& line) { return pt.keyCommand(words, line); }},
        {"pad", "attach N|detach N|button N NAME down|up|axis N NAME VALUE: a gamepad", false,
         [](Playtest& pt, Words words, const std::string& line) { return pt.padCommand(words, line); }},
        {"controls",
         "open|close|rows|note|pick CONTROL|bind CONTROL key|pad NAME|defaults|nintendo label|position: "
         "the controls page and the player's bindings",
         false,
         [](Playtest& pt, Words words, const std::string& line) { return pt.controlsCommand(words, line); }},
        {"finger", "ID down|move|up X Y: a touch through SDL's events", false,
         [](Playtest& pt, Words words, const std::string& line) { return pt.fingerCommand(words, line); }},
        {"minimize", ": the window goes to the background", false,
         [](Playtest& pt, Words words, const std::string& line) {
             expectWords(words, 1, line);
             pt._input->window(SDL_WINDOWEVENT_MINIMIZED);
             return pt.pumped("");
         }},
        {"restore", ": the window comes back", false,
         [](Playtest& pt, Words words, const std::string& line) {
             expectWords(words, 1, line);
             pt._input->window(SDL_WINDOWEVENT_RESTORED);
             return pt.pumped("");
         }},
        {"focus", "in|out: the window gains or loses the focus", false,
         [](Playtest& pt, Words words, const std::string& line) {
             expectWords(words, 2, line);
             if (words[1] != "in" && words[1] != "out") throw BadCommand("focus goes in or out: " + line);
             pt._input->focus(words[1] == "in");
             return pt.pumped("");
         }},
        {"options",
         "open|close|music N|effects N|language|startover|cancel|erase|credits|back|state: the options panel",
         false,
         [](Playtest& pt, Words words, const std::string& line) { return pt.optionsCommand(words, line); }},
        {"wheel", "N: the mouse wheel turns N notches, away from the player when positive", false,
         [](Playtest& pt, Words words, const std::string& line) {
             expectWords(words, 2, line);
             pt._input->wheel(static_cast<int>(toInt(words[1], line)));
             return pt.pumped("");
         }},
        {"solve", ": enters the stage's row on the ring", false,
         [](Playtest& pt, Words, const std::string&) { return pt.solve(); }},
        {"wait", "SCENE|stage N|timer stopped|game over: steps until it happens", false,
         [](Playtest& pt, Words words, const std::string& line) {
             return pt.waitFor(argument(line, words));
         }},
        {"tree", ": the running scene, every node", false,
         [](Playtest& pt, Words, const std::string&) { return pt.tree().dump(); }},
        {"view", ": the scene as the player sees it", false,
         [](Playtest& pt, Words, const std::string&) { return Snapshot::scene(pt.tree()).dump(); }},
        {"snap", "NAME: the view and the sounds since the last snap", false,
         [](Playtest& pt, Words words, const std::string& line) {
             return Snapshot::moment(argument(line, words), pt.frame(), pt.sounds(), pt.tree()).dump();
         }},
        {"look", "X Y: the pictures drawn over a point, the top one last", false,
         [](Playtest& pt, Words words, const std::string& line) {
             expectWords(words, 3, line);
             return json(pt.picturesAt(toFloat(words[1], line), toFloat(words[2], line))).dump();
         }},
        {"store", ": the saved values", false,
         [](Playtest& pt, Words, const std::string&) { return pt.store().dump(); }},
        {"sounds", ": the audio calls since last asked", false,
         [](Playtest& pt, Words, const std::string&) { return pt.sounds().dump(); }},
        {"notes", ": the notes over the game and their seconds left", false,
         [](Playtest& pt, Words, const std::string&) { return pt.notes().dump(); }},
        {"log", ": the log lines since last asked", false,
         [](Playtest& pt, Words, const std::string&) { return pt.logLines().dump(); }},
        {"stats", ": frame, live objects, nodes, pictures, reads and memory", false,
         [](Playtest& pt, Words, const std::string&) { return pt.stats().dump(); }},
        {"layout", "NAME: the keyboard layout the keys' labels follow (us, fr, de)", false,
         [](Playtest& pt, Words words, const std::string& line) {
             expectWords(words, 2, line);
             return pt.pumped(pt._input->layout(words[1]));
         }},
        {"language", "[CODE]: the game speaks CODE at once and saves it (qps: the testers'); which it speaks",
         false,
         [](Playtest&, Words words, const std::string&) {
             if (words.size() > 1) Language::set(words[1]);
             return Language::current();
         }},
        {"mouse", "X Y: the mouse moves there without a button", false,
         [](Playtest& pt, Words words, const std::string& line) {
             expectWords(words, 3, line);
             pt._input->mouseMove(static_cast<int>(toInt(words[1], line)),
                                  static_cast<int>(kDesignSize.height - toInt(words[2], line)));
             return pt.pumped("");
         }},
        {"window", "moves DX DY: the window moves on the screen under a still pointer", false,
         [](Playtest& pt, Words words, const std::string& line) {
             expectWords(words, 4, line);
             if (words[1] != "moves") throw Playtest::BadCommand("window moves DX DY: " + line);
             pt._input->windowMoved(static_cast<int>(toInt(words[2], line)),
                                    static_cast<int>(toInt(words[3], line)));
             return pt.pumped("");
         }},
        {"rumbles", ": the pads' rumbles since last asked", false,
         [](Playtest& pt, Words, const std::string&) { return json(pt._input->rumbles()).dump(); }},
        {"badges", ": the prompts shown beside the buttons", false,
         [](Playtest&, Words, const std::string&) {
             json out = json::array();
             for (const auto& b : InputMap::getInstance()->badges())
                 out.push_back({{"control", b.control},
                                {"picture", b.picture},
                                {"text", b.text},
                                {"x", b.where.x},
                                {"y", b.where.y}});
             return out.dump();
         }},
        {"cursor", ": whether the mouse cursor shows", false,
         [](Playtest& pt, Words, const std::string&) {
             return std::string(pt._pump->isCursorShown() ? "shown" : "hidden");
         }},
        {"shot", "FILE: the frame as a PNG", false,
         [](Playtest&, Words words, const std::string& line) {
             expectWords(words, 2, line);
             Director::getInstance()->drawScene();
             if (!Director::getInstance()->getOpenGLView()->saveScreenshot(words[1]))
                 return "error: cannot write " + words[1];
             return std::string("ok");
         }},
    };
    return table;
}

std::string Playtest::help() {
    json lines = json::array();
    for (const Command& command : commands())
        lines.push_back(std::string(command.name) + (command.usage[0] == ':' ? "" : " ") + command.usage);
    lines.push_back("quit: ends the program; # starts a comment");
    return lines.dump();
}

std::string Playtest::pointer(Playtest& pt, const std::vector<std::string>& words, const std::string& line,
                              void (Playtest::*act)(float, float)) {
    expectWords(words, 3, line);
    (pt.*act)(toFloat(words[1], line), toFloat(words[2], line));
    return "ok";
}

std::string Playtest::execute(const std::string& line) {
    const auto words = split(line);
    if (words.empty()) throw BadCommand("empty command");
    const std::string& name = words[0];
    if (name[0] == '#') return "ok"; // a comment in a script
    const auto& table = commands();
    const auto command =
        std::find_if(table.begin(), table.end(), [&](const Command& c) { return name == c.name; });
    if (command == table.end()) {
        launch();
        throw BadCommand("unknown command: " + line);
    }
    if (!command->beforeLaunch) launch();
    try {
        return command->run(*this, words, line);
    } catch (const std::logic_error& e) {
        return e.what();
    }
}

void Playtest::open(const std::vector<std::string>& words) {
    const std::string line = words.empty() ? "" : words[0];
    if (words.size() < 2) throw BadCommand("open what?");
    const std::string& what = words[1];
    Scene* scene = nullptr;
    std::vector<int> args;
    for (std::size_t i = 2; i < words.size(); ++i)
        args.push_back(static_cast<int>(toInt(words[i], "open")));
    auto need = [&](std::size_t n) {
        if (args.size() != n) throw BadCommand("open " + what + " takes " + std::to_string(n) + " numbers");
    };
    if (what == "title") {
        need(0);
        scene = TitleScene::create();
    } else if (what == "shop") {
        need(1);
        scene = UpgradeScene::create(args[0]);
    } else if (what == "event") {
        need(3);
        scene = EventScene::create(args[0], args[1], args[2]);
    } else if (what == "game") {
        need(3);
        scene = GameScene::create(args[0], args[1], args[2]);
    } else {
        throw BadCommand("unknown scene: " + what);
    }
    launch();
    Director::getInstance()->replaceScene(scene);
    Director::getInstance()->applyPendingScene();
}

std::string Playtest::pumped(const std::string& error) {
    if (!error.empty()) throw BadCommand(error);
    _pump->pump();
    return "ok";
}

std::string Playtest::keyCommand(const std::vector<std::string>& words, const std::string& line) {
    // `key NAME [down|up]`: names may hold spaces ("Keypad 7"), and "Alt+" holds Alt with the key.
    if (words.size() < 2) throw BadCommand("key needs a name: " + line);
    std::string name = line.substr(line.find(words[1]));
    name.erase(name.find_last_not_of(" \t\r") + 1);
    std::string how = "press";
    for (const char* end : {" down", " up", " repeat"})
        if (name.size() > std::strlen(end) && name.ends_with(end)) {
            how = end + 1;
            name.erase(name.size() - std::strlen(end));
        }
    const bool alt = name.rfind("Alt+", 0) == 0;
    if (alt) name.erase(0, 4);
    if (how == "repeat") return pumped(_input->key(name, alt, true, true));
    if (how != "up") pumped(_input->key(name, alt, true));
    if (how != "down") pumped(_input->key(name, alt, false));
    return "ok";
}

std::string Playtest::padCommand(const std::vector<std::string>& words, const std::string& line) {
    // pad attach N [FAMILY] | pad detach N | pad button N NAME down|up | pad axis N NAME VALUE
    if (words.size() < 3) throw BadCommand("pad needs what and a number: " + line);
    const std::string& what = words[1];
    const int pad = static_cast<int>(toInt(words[2], line));
    if (what == "attach" && words.size() == 4) return pumped(_input->padAttach(pad, words[3]));
    if (what == "attach" || what == "detach") {
        expectWords(words, 3, line);
        return pumped(what == "attach" ? _input->padAttach(pad) : _input->padDetach(pad));
    }
    if (what == "button") {
        expectWords(words, 5, line);
        if (words[4] != "down" && words[4] != "up") throw BadCommand("a button goes down or up: " + line);
        return pumped(_input->padButton(pad, words[3], words[4] == "down"));
    }
    if (what == "axis") {
        expectWords(words, 5, line);
        return pumped(_input->padAxis(pad, words[3], toFloat(words[4], line)));
    }
    throw BadCommand("unknown pad command: " + line);
}

std::string Playtest::fingerCommand(const std::vector<std::string>& words, const std::string& line) {
    // finger ID down|move|up X Y, in design units like `down`.
    expectWords(words, 5, line);
    const Size design = Director::getInstance()->getWinSize();
    return pumped(_input->finger(toInt(words[1], line), words[2], toFloat(words[3], line),
                                 toFloat(words[4], line), design.width, design.height));
}
