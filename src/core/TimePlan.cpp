#include "TimePlan.h"

namespace TimePlan {

namespace {

// How two times of a rule must relate.
enum class Order {
    Later,       // the checked time strictly after the other
    Earlier,     // the checked time strictly before the other
    LaterOrSame, // the checked time not before the other
};

struct Rule {
    Time checked;
    Time other;
    Order order;
    const char* message;
};

const Rule kRules[] = {
    {Ende, Beginn, Order::Later, "Ende des Events muß später als der Beginn des Events sein."},
    {AufbauVon, Beginn, Order::Earlier, "Beginn des Aufbaus muß vor dem Beginn des Events liegen."},
    {AufbauBis, AufbauVon, Order::Later,
     "Ende des Aufbaus muß später als der Beginn des Aufbaus sein."},
    {AufbauBis, Beginn, Order::Earlier, "Ende des Aufbaus muß vor dem Beginn des Events liegen."},
    {SoundcheckVon, AufbauBis, Order::LaterOrSame,
     "Beginn des Soundchecks muß größer oder gleich dem Ende des Aufbaus sein."},
    {SoundcheckBis, SoundcheckVon, Order::Later,
     "Ende des Soundchecks muß nach dem Beginn des Soundchecks liegen."},
    {AbbauVon, Ende, Order::LaterOrSame,
     "Beginn des Abbaus muß größer oder gleich dem Ende des Events sein."},
    {AbbauBis, AbbauVon, Order::Later, "Ende des Abbaus muß nach dem Beginn des Abbaus liegen."},
};

bool holds(const QDateTime& checked, const QDateTime& other, Order order) {
    switch (order) {
    case Order::Later:
        return checked > other;
    case Order::Earlier:
        return checked < other;
    case Order::LaterOrSame:
        return checked >= other;
    }
    return false;
}

} // namespace

std::optional<Violation> check(const Times& times) {
    for (const Rule& rule : kRules) {
        const QDateTime& checked = times[rule.checked];
        const QDateTime& other = times[rule.other];
        if (!holds(checked, other, rule.order))
            return Violation{rule.message, rule.checked, checked.date() == other.date()};
    }
    return std::nullopt;
}

} // namespace TimePlan
