// The words drawn over the plates: each fits its plate in every language, a long one shrinks,
// and a change of language shows at once on the screen as it stands.
#include "tests/support/test_round_fixture.h"

#include "game/common/GameTexts.h"
#include "game/common/Language.h"
#include "game/common/PlateWords.h"

#include <cmath>
#include <set>
#include <sstream>

USING_NS_CC;

namespace {
// Accented and 40 % longer, as a long translation would be.
std::string pseudo(const std::string& english) {
    // Latin-1's letters, which the font has, as French, German, Spanish and Portuguese use.
    static const char* const kAccented[26] = {"Å", "B", "Ç", "Ð", "É", "F", "G", "H", "Î",
                                              "J", "K", "L", "M", "Ñ", "Ö", "Þ", "Q", "R",
                                              "S", "T", "Û", "V", "W", "X", "Ý", "Z"};
    std::string out = "[";
    for (char c : english)
        out += c >= 'A' && c <= 'Z' ? std::string(kAccented[c - 'A']) : std::string(1, c);
    return out + std::string(static_cast<std::size_t>(std::ceil(english.size() * 0.4)), '~') + "]";
}

// Long ways German and Russian might say them (Cyrillic stands on full-width cells in the font),
// after each English word.
// clang-format off
const char* const kLong[] = {
    "START", "STARTEN", "НАЧАТЬ",           "TITLE", "HAUPTMENÜ", "В МЕНЮ",
    "RETRY", "NOCHMAL", "ЕЩЁ РАЗ",          "SHOP", "LADEN", "МАГАЗИН",
    "QUIT", "BEENDEN", "ВЫЙТИ",             "RESUME", "FORTSETZEN", "ПРОДОЛЖИТЬ",
    "MUTE", "STUMM", "БЕЗ ЗВУКА",           "FULLSCREEN", "VOLLBILD", "ПОЛНЫЙ ЭКРАН",
    "BACK", "ZURÜCK", "НАЗАД",              "TAP TO START", "ZUM STARTEN TIPPEN", "НАЖМИТЕ, ЧТОБЫ НАЧАТЬ",
    "SCORE", "PUNKTE", "СЧЁТ",              "NEW RECORD!", "NEUER REKORD!", "НОВЫЙ РЕКОРД!",
    "SOLD OUT", "AUSVERKAUFT", "РАСПРОДАНО", "+%d sec", "+%d Sek.", "+%d сек"};
// clang-format on

std::string withSeven(std::string text) {
    const auto at = text.find("%d");
    if (at != std::string::npos) {
        text.erase(at, 2);
        text.insert(at, 1, '7');
    }
    return text;
}
} // namespace

class PlateWordsTest : public RoundTest {
  protected:
    // Every word on the screen as it stands, in every language the game has, redrawn at once.
    void checkScreen(const char* where) {
        const std::string was = Language::current();
        for (const auto& language : Language::all()) {
            Language::set(language.code);
            pt->step(1);
            // Drawn, as the player sees it: a label under a panel stands still but is still drawn.
            pt->picturesAt(0, 0);
            for (PlateLabel* label : pt->findAll<PlateLabel>()) {
                seen.insert(label->msgid());
                const PlateWord& word = label->word();
                const std::string said = GameTexts::tr(word.context, word.msgid);
                if (!word.plural && said.find("%d") == std::string::npos) {
                    EXPECT_EQ(label->text(), said) << where << ", " << language.code << ": not redrawn";
                }
                EXPECT_GE(label->fit(), PlateLabel::kMinScale * PlateLabel::kMinSqueeze)
                    << where << ", " << language.code << ": " << label->text() << " overflows its plate";
            }
        }
        Language::set(was);
    }
    std::set<std::string> seen;
};

TEST_F(PlateWordsTest, LongWordsShrinkIntoTheirPlateShortOnesKeepTheirSizeAndAChangeOfLanguageShowsAtOnce) {
    std::string words = "GO";
    auto* label = PlateLabel::create(PlateWords::kStart, [&] { return words; });
    auto* item =
        MenuItemImage::create("UpGradeScene/stageButton1.png", "UpGradeScene/stageButton2.png", nullptr);
    item->addChild(label);
    pt->runningScene()->addChild(item);
    pt->step(1);
    EXPECT_EQ(label->fit(), 1.0f) << "a short word keeps its size, never grows";

    words = "UNBELIEVABLY LONG START BUTTON WORD";
    pt->step(1);
    EXPECT_EQ(label->text(), "GO") << "redrawn with no change of language";
    Language::set(Language::current());
    pt->step(1);
    ASSERT_EQ(label->text(), words) << "a change of language was not redrawn at once";
    const auto* letters = label->getChildren().front();
    const float width = letters->getContentSize().width * letters->getScaleX();
    EXPECT_LT(label->fit(), 0.5f);
    EXPECT_NEAR(width, PlateWords::kStart.box.width, 1.0f) << "shrunk to its plate's room, no further";
    EXPECT_EQ(letters->getScaleY(), PlateLabel::kMinScale) << "past the smallest size a word only narrows";
    EXPECT_EQ(label->getPosition(), PlateWords::kStart.centre);

    // Pressed, a button's word drops with the plate's face.
    auto* onButton = PlateLabel::onButton(item, PlateWords::kStart);
    item->selected();
    pt->picturesAt(0, 0);
    EXPECT_EQ(onButton->getPosition(), PlateWords::kStart.centre - Vec2(0, PlateWords::kStart.pressedDrop));
}

TEST_F(PlateWordsTest, EveryPlateHoldsItsWordInEveryLanguageAndAPseudoLanguageFortyPercentLonger) {
    // The table itself, with words longer than any translation should be.
    std::ostringstream overflows;
    for (const PlateWord* word : PlateWords::all()) {
        const std::string english = withSeven(word->msgid);
        std::vector<std::string> texts = {english, pseudo(english)};
        for (std::size_t i = 0; i + 2 < std::size(kLong); i += 3)
            if (std::string(kLong[i]) == word->msgid)
                texts.insert(texts.end(), {withSeven(kLong[i + 1]), withSeven(kLong[i + 2])});
        for (const std::string& text : texts)
            if (PlateLabel::fitFor(*word, text) < PlateLabel::kMinScale * PlateLabel::kMinSqueeze)
                overflows << "\"" << text << "\" needs " << PlateLabel::fitFor(*word, text) << "; ";
        EXPECT_EQ(PlateLabel::fitFor(*word, english), 1.0f) << english << " is shrunk in English";
    }
    EXPECT_EQ(overflows.str(), "") << "narrower than " << PlateLabel::kMinScale * PlateLabel::kMinSqueeze;

    // Every screen with words on plates, as the player reaches it.
    pt->execute("open title");
    pt->step(2);
    checkScreen("title");
    pt->execute("key Escape");
    checkScreen("quit panel");
    pt->execute("key Escape");
    pt->execute("open shop 1000");
    pt->step(2);
    checkScreen("shop");
    for (int i = 0; i < 3; ++i) {
        tap(Spot::kTimePlate);
        tap(Spot::kLifePlate);
    }
    checkScreen("shop sold out");
    open(0, 3, 0);
    pt->execute("key Escape");
    checkScreen("pause panel");
    pt->execute("key t");
    checkScreen("give-up panel");
    pt->execute("key Escape");
    pt->execute("key Escape");
    solveStage();
    ASSERT_EQ(pt->execute("wait game over"), "ok");
    seconds(3);
    checkScreen("result with a new best");
    std::set<std::string> table;
    for (const PlateWord* word : PlateWords::all())
        table.insert(word->msgid);
    EXPECT_EQ(seen, table) << "a plate of the table was not shown, or a word drawn from outside it";
}
