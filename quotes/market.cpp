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
    Rule{u"204", "sh"}, Rule{u"01", "sh"},  Rule{u"02", "sh"},
};

struct ClassRule {
    const char *prefix;
    const char16_t *start;
    numbers::InstrumentClass instrument;
};

using enum numbers::InstrumentClass;

constexpr std::array kClassRules{
    ClassRule{"sh", u"5", Fund},  ClassRule{"sh", u"0", Bond},  ClassRule{"sh", u"1", Bond},
    ClassRule{"sh", u"2", Bond},  ClassRule{"sz", u"15", Fund}, ClassRule{"sz", u"16", Fund},
    ClassRule{"sz", u"18", Fund}, ClassRule{"sz", u"10", Bond}, ClassRule{"sz", u"11", Bond},
    ClassRule{"sz", u"12", Bond}, ClassRule{"sz", u"13", Bond},
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

numbers::InstrumentClass ClassOf(const QString &code) {
    const QString prefix = Prefix(code);
    for (const ClassRule &rule : kClassRules) {
        if (prefix == QLatin1String(rule.prefix) && code.startsWith(QStringView(rule.start))) {
            return rule.instrument;
        }
    }
    return Share;
}

}  // namespace quotes::market
