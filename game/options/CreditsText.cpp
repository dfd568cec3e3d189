#include "game/options/CreditsText.h"

#include "engine/app/cocos2d.h"
#include "game/common/GameTexts.h"
#include "game/common/GameVersion.h"

namespace CreditsText {

std::vector<Line> lines() {
    using K = Line::Kind;
    const auto tr = [](const char* msgid) { return GameTexts::tr(msgid); };
    // The facts of LICENSE and assets/CREDITS.md.
    std::vector<Line> lines = {
        {K::Title, "Doviveduzuz"},
        {K::Text, tr(GameTexts::kCreditsVersion) + " " + kGameVersion},
        {K::Gap, ""},
        {K::Heading, tr(GameTexts::kCreditsMadeBy)},
        {K::Text, "The Doviveduzuz developers"},
        {K::Text, tr(GameTexts::kCreditsMadeFor)},
        {K::Gap, ""},
        {K::Heading, tr(GameTexts::kCreditsCode)},
        {K::Text, "MIT License"},
        {K::Text, "Copyright (c) 2026 The Doviveduzuz developers"},
        {K::Gap, ""},
        {K::Heading, tr(GameTexts::kCreditsArtLicence)},
        {K::Text, "Creative Commons Attribution 4.0 International (CC BY 4.0)"},
        {K::Text, "creativecommons.org/licenses/by/4.0/"},
        {K::Text, tr(GameTexts::kCreditsCreditLine) + " \"The Doviveduzuz developers\""},
        {K::Gap, ""},
        {K::Heading, tr(GameTexts::kCreditsFont)},
        {K::Text, "DotGothic16 Regular"},
        {K::Text, "Copyright 2020 The DotGothic16 Project Authors"},
        {K::Text, "github.com/fontworks-fonts/DotGothic16"},
        {K::Text, "SIL Open Font License, Version 1.1"},
        {K::Text, "openfontlicense.org"},
        {K::Gap, ""},
        {K::Heading, tr(GameTexts::kCreditsBuiltWith)},
    };
    for (const std::string& library : cocos2d::Application::builtWith())
        lines.push_back({K::Text, library});
    return lines;
}

} // namespace CreditsText
