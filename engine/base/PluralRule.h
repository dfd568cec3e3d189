#pragma once
// Which plural form a count takes, as a translation's header says in its Plural-Forms line:
// "nplurals=3; plural=(n%10==1 && n%100!=11 ? 0 : ...);". The expression is C's own arithmetic,
// comparison, logic and ?:, on the one variable n; anything else reads as English's rule.
#include <string>
#include <string_view>

namespace cocos2d {

class PluralRule {
  public:
    // English's: one, and everything else.
    PluralRule() = default;
    // From a Plural-Forms line's value; English's rule where it cannot be read.
    static PluralRule parse(std::string_view header);

    int forms() const { return _forms; }
    // The form for n, always within 0 .. forms() - 1.
    int formOf(unsigned long n) const;

  private:
    int _forms = 2;
    std::string _expression = "n != 1";
};

} // namespace cocos2d
