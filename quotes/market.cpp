#include "quotes/market.h"

#include <array>

namespace quotes::market {

namespace {

struct Rule {
    const char16_t *start;
    const char *prefix;
};

// The longest matching start wins, so "92" overrides "9" and "204" overrides the default.
constexpr std::array kRules{
    Rule{u"4", "bj"},   Rule{u"8", "bj"},   Rule{u"92", "bj"},  Rule{u"5", "sh"},
    Rule{u"6", "sh"},   Rule{u"7", "sh"},   Rule{u"9", "sh"},   Rule{u"110", "sh"},
    Rule{u"111", "sh"}, Rule{u"113", "sh"}, Rule{u"118", "sh"}, Rule{u"132", "sh"},
    Rule{u"204", "sh"},
};

}  // namespace

QString Prefix(const QString &code) {
    const char *prefix = "sz";
    qsizetype matched = 0;
    for (const Rule &rule : kRules) {
        const QStringView start(rule.start);
        if (start.size() > matched && code.startsWith(start)) {
            prefix = rule.prefix;
            matched = start.size();
        }
    }
    return QString::fromLatin1(prefix);
}

QString Prefixed(const QString &code) {
    return Prefix(code) + code;
}

}  // namespace quotes::market
