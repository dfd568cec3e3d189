// The harness's way into the controls page and the player's bindings: open the page on the running
// scene (no options panel needed), pick a row, read what each row shows and the note, bind
// directly, put the defaults back, choose how a Nintendo pad confirms.
#include "harness/playtest/Playtest.h"

#include "game/common/PlayerBindings.h"
#include "game/options/ControlsPage.h"
#include "game/options/ControlsRow.h"

USING_NS_CC;
using nlohmann::json;

namespace {

std::string rebound(const InputMap::Rebound& result, InputMap::Device device) {
    const std::string note = PlayerBindings::refusalNote(result, device);
    if (!note.empty()) return "refused: " + note;
    if (result.refusal != InputMap::Refusal::None) return "refused";
    return result.other.empty() ? "ok" : "ok, swapped with " + result.other;
}

} // namespace

std::string Playtest::controlsCommand(const std::vector<std::string>& words, const std::string& line) {
    if (words.size() < 2) throw BadCommand("controls what? " + line);
    const std::string& what = words[1];
    ControlsPage* page = find<ControlsPage>();
    if (page && page->closed) page = nullptr;
    if (what == "open") {
        if (page) return "the controls page is open already";
        runningScene()->addChild(ControlsPage::create([] { log("controls page closed"); }), 100);
        return "ok";
    }
    if (what == "bind") {
        if (words.size() < 5 || (words[3] != "key" && words[3] != "pad"))
            throw BadCommand("controls bind CONTROL key|pad NAME: " + line);
        const auto device = words[3] == "key" ? InputMap::Device::Keys : InputMap::Device::Pad;
        // Key names may hold a space ("Keypad 7"): everything after the kind.
        const std::size_t kind = line.find(" " + words[3] + " ", line.find(words[2]));
        std::string name = line.substr(line.find_first_not_of(' ', kind + words[3].size() + 2));
        name.erase(name.find_last_not_of(" \t\r") + 1);
        return rebound(PlayerBindings::rebind(words[2], device, name), device);
    }
    if (what == "defaults") {
        PlayerBindings::restoreDefaults();
        if (page) page->refresh();
        return "ok";
    }
    if (what == "nintendo" && words.size() == 3 && (words[2] == "label" || words[2] == "position")) {
        PlayerBindings::setNintendoByLabel(words[2] == "label");
        if (page) page->refresh();
        return "ok";
    }
    if (!page) return "the controls page is not open";
    if (what == "close") {
        page->back(nullptr);
        return "ok";
    }
    if (what == "pick" && words.size() == 3) {
        page->pick(words[2]);
        return page->waiting == words[2] ? "ok" : "no such control: " + words[2];
    }
    if (what == "note") return page->note->getString();
    if (what == "rows") {
        json rows = json::array();
        for (const ControlsRow* row : page->rows)
            rows.push_back({{"control", row->control},
                            {"name", row->name->getString()},
                            {"key", row->keyText},
                            {"pad", row->padPicture},
                            {"waiting", row->control == page->waiting}});
        return rows.dump();
    }
    throw BadCommand("unknown controls command: " + line);
}
