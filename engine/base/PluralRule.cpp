#include "engine/base/PluralRule.h"

#include <cctype>

namespace cocos2d {

namespace {

// Evaluates as it reads: the expressions are a line long and asked rarely.
class Reader {
  public:
    Reader(std::string_view text, unsigned long n) : _text(text), _n(n) {}

    bool whole(unsigned long& value) {
        value = conditional();
        skipSpace();
        return _ok && _at == _text.size();
    }

  private:
    unsigned long conditional() {
        const unsigned long test = binary(0);
        if (!take("?")) return test;
        const unsigned long yes = conditional();
        if (!take(":")) _ok = false;
        const unsigned long no = conditional();
        return test ? yes : no;
    }

    // Operators by C's precedence, loosest first.
    unsigned long binary(int level) {
        static const char* const kLevels[][4] = {
            {"||"}, {"&&"}, {"==", "!="}, {"<=", ">=", "<", ">"}, {"+", "-"}, {"*", "/", "%"}};
        if (level == 6) return unary();
        unsigned long left = binary(level + 1);
        for (;;) {
            const char* found = nullptr;
            for (const char* op : kLevels[level])
                if (op && take(op)) {
                    found = op;
                    break;
                }
            if (!found) return left;
            const unsigned long right = binary(level + 1);
            left = apply(found, left, right);
        }
    }

    unsigned long apply(std::string_view op, unsigned long a, unsigned long b) {
        if (op == "||") return a || b;
        if (op == "&&") return a && b;
        if (op == "==") return a == b;
        if (op == "!=") return a != b;
        if (op == "<=") return a <= b;
        if (op == ">=") return a >= b;
        if (op == "<") return a < b;
        if (op == ">") return a > b;
        if (op == "+") return a + b;
        if (op == "-") return a - b;
        if (op == "*") return a * b;
        if (b == 0) {
            _ok = false;
            return 0;
        }
        return op == "/" ? a / b : a % b;
    }

    unsigned long unary() {
        if (take("!")) return !unary();
        if (take("(")) {
            const unsigned long value = conditional();
            if (!take(")")) _ok = false;
            return value;
        }
        if (take("n")) return _n;
        skipSpace();
        if (_at < _text.size() && std::isdigit(static_cast<unsigned char>(_text[_at]))) {
            unsigned long value = 0;
            while (_at < _text.size() && std::isdigit(static_cast<unsigned char>(_text[_at])))
                value = value * 10 + static_cast<unsigned long>(_text[_at++] - '0');
            return value;
        }
        _ok = false;
        return 0;
    }

    void skipSpace() {
        while (_at < _text.size() && std::isspace(static_cast<unsigned char>(_text[_at])))
            ++_at;
    }

    // "<" must not take the first half of "<=": the longer operators are tried first.
    bool take(std::string_view token) {
        skipSpace();
        if (_text.substr(_at, token.size()) != token) return false;
        if (token.size() == 1 && (token == "<" || token == ">" || token == "!") && _at + 1 < _text.size() &&
            _text[_at + 1] == '=')
            return false;
        _at += token.size();
        return true;
    }

    std::string_view _text;
    unsigned long _n;
    size_t _at = 0;
    bool _ok = true;
};

std::string_view valueOf(std::string_view header, std::string_view name) {
    const size_t at = header.find(name);
    if (at == std::string_view::npos) return {};
    std::string_view rest = header.substr(at + name.size());
    return rest.substr(0, rest.find(';'));
}

} // namespace

PluralRule PluralRule::parse(std::string_view header) {
    PluralRule rule;
    const std::string_view forms = valueOf(header, "nplurals=");
    const std::string_view expression = valueOf(header, "plural=");
    int count = 0;
    for (char c : forms)
        if (std::isdigit(static_cast<unsigned char>(c))) count = count * 10 + (c - '0');
    unsigned long probe = 0;
    if (count < 1 || count > 6 || expression.empty() || !Reader(expression, 1).whole(probe)) return rule;
    rule._forms = count;
    rule._expression = std::string(expression);
    return rule;
}

int PluralRule::formOf(unsigned long n) const {
    unsigned long form = 0;
    if (!Reader(_expression, n).whole(form) || form >= static_cast<unsigned long>(_forms))
        return n == 1 || _forms == 1 ? 0 : 1;
    return static_cast<int>(form);
}

} // namespace cocos2d
