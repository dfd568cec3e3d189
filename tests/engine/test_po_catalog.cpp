// The .po reader on what translators' tools write and on what they get wrong.
#include "engine/base/PoCatalog.h"

#include <gtest/gtest.h>

using cocos2d::PluralRule;
using cocos2d::PoCatalog;

namespace {
std::string found(const PoCatalog& po, const char* context, const char* msgid) {
    const std::string* text = po.find(context, msgid);
    return text ? *text : "(none)";
}
} // namespace

TEST(PoCatalog, ReadsEntriesAsTranslatorsToolsWriteThem) {
    const char* text = "# A translator's comment\r\n"
                       "msgid \"\"\r\n"
                       "msgstr \"\"\r\n"
                       "\"Language: de\\n\"\r\n"
                       "\"Plural-Forms: nplurals=2; plural=(n != 1);\\n\"\r\n"
                       "\r\n"
                       "#. kPaused\n"
                       "msgid \"PAUSED\"\n"
                       "msgstr \"PAUSE\"\n"
                       "\n"
                       "msgctxt \"button\"\n"
                       "msgid \"TITLE\"\n"
                       "msgstr \"TITEL\"\n"
                       "\n"
                       "msgid \"TITLE\"\n"
                       "msgstr \"Titel\"\n"
                       "\n"
                       "msgid \"\"\n"
                       "\"Two\\n\"\n"
                       "\"lines\"\n"
                       "msgstr \"\"\n"
                       "\"Zwei\\n\"\n"
                       "  \"Zeilen\"  \n"
                       "\n"
                       "msgid \"Escapes\"\n"
                       "msgstr \"\\\"q\\\" \\\\ \\t \\101\\x42 \\?\"\n"
                       "\n"
                       "#, fuzzy, c-format\n"
                       "msgid \"Volume %d %%\"\n"
                       "msgstr \"Lautstärke %d %%\"\n"
                       "\n"
                       "msgid \"Missing\"\n"
                       "msgstr \"\"\n"
                       "#| msgid \"Old\"\n"
                       "msgid \"Close\"\n"
                       "msgstr \"Nah\"\n"
                       "\n"
                       "#~ msgid \"Gone\"\n"
                       "#~ msgstr \"Weg\"\n";
    std::vector<std::string> problems;
    const PoCatalog po = PoCatalog::parse(text, &problems);
    EXPECT_TRUE(problems.empty()) << problems.front();
    EXPECT_EQ(found(po, "", "PAUSED"), "PAUSE");
    // The context tells the two apart; a look-up without it finds the plain one.
    EXPECT_EQ(found(po, "button", "TITLE"), "TITEL");
    EXPECT_EQ(found(po, "", "TITLE"), "Titel");
    EXPECT_EQ(found(po, "", "Two\nlines"), "Zwei\nZeilen");
    EXPECT_EQ(found(po, "", "Escapes"), "\"q\" \\ \t AB ?");
    // A translator's guess, an entry not translated and an obsolete one are not translations.
    EXPECT_EQ(found(po, "", "Volume %d %%"), "(none)");
    EXPECT_EQ(found(po, "", "Missing"), "(none)");
    EXPECT_EQ(found(po, "", "Gone"), "(none)");
    // A next entry without a blank line before it is still one.
    EXPECT_EQ(found(po, "", "Close"), "Nah");
    EXPECT_EQ(po.size(), 6u);
}

TEST(PoCatalog, DamagedLinesAreLeftOutAndNamed) {
    std::vector<std::string> problems;
    const PoCatalog po = PoCatalog::parse("msgid \"Open\n"
                                          "msgstr \"Offen\"\n"
                                          "\n"
                                          "msgid \"Kept\"\n"
                                          "msgstr \"Behalten\"\n"
                                          "stray words\n"
                                          "\"continues nothing\"\n",
                                          &problems);
    EXPECT_EQ(found(po, "", "Kept"), "Behalten");
    EXPECT_EQ(found(po, "", "Open"), "(none)");
    ASSERT_EQ(problems.size(), 3u);
    EXPECT_EQ(problems[0].rfind("line 1:", 0), 0u) << problems[0];
    EXPECT_EQ(problems[1].rfind("line 6:", 0), 0u) << problems[1];
}

TEST(PoCatalog, PluralFormsFollowTheHeader) {
    const PoCatalog ru =
        PoCatalog::parse("msgid \"\"\nmsgstr \"\"\n"
                         "\"Plural-Forms: nplurals=3; plural=(n%10==1 && n%100!=11 ? 0 : n%10>=2 && \"\n"
                         "\"n%10<=4 && (n%100<10 || n%100>=20) ? 1 : 2);\\n\"\n\n"
                         "msgid \"%d coin\"\nmsgid_plural \"%d coins\"\n"
                         "msgstr[0] \"%d монета\"\nmsgstr[1] \"%d монеты\"\nmsgstr[2] \"%d монет\"\n");
    EXPECT_EQ(ru.pluralRule().forms(), 3);
    const std::pair<unsigned long, const char*> cases[] = {
        {1, "%d монета"}, {2, "%d монеты"},  {4, "%d монеты"},  {5, "%d монет"},  {11, "%d монет"},
        {12, "%d монет"}, {21, "%d монета"}, {22, "%d монеты"}, {111, "%d монет"}};
    for (const auto& [n, form] : cases) {
        const std::string* text = ru.findPlural("", "%d coin", n);
        ASSERT_NE(text, nullptr) << n;
        EXPECT_EQ(*text, form) << n;
    }
    EXPECT_EQ(PluralRule::parse("nplurals=1; plural=0;").formOf(7), 0);
    EXPECT_EQ(PluralRule::parse("nplurals=2; plural=(n > 1);").formOf(0), 0);
    EXPECT_EQ(PluralRule::parse("nplurals=2; plural=(n > 1);").formOf(2), 1);
    // What cannot be read, or names a form the language lacks, reads as English's rule.
    for (const char* broken :
         {"nplurals=2; plural=(n > ;", "nplurals=2; plural=n % 0;", "nplurals=2; plural=n+5;",
          "plural=(n != 1);", "nplurals=2; plural=(n != 1) x;"}) {
        const PluralRule rule = PluralRule::parse(broken);
        EXPECT_EQ(rule.formOf(1), 0) << broken;
        EXPECT_EQ(rule.formOf(3), 1) << broken;
    }
}
