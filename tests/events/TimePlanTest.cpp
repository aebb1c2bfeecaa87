// The rules of an event's time plan: each rule's boundary, where the user is sent to correct a
// broken rule, and the pairs that are deliberately not compared.
#include "core/TimePlan.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

namespace {

using namespace TimePlan;

const char* const kRule[] = {
    nullptr,
    "Ende des Events muß später als der Beginn des Events sein.",
    "Beginn des Aufbaus muß vor dem Beginn des Events liegen.",
    "Ende des Aufbaus muß später als der Beginn des Aufbaus sein.",
    "Ende des Aufbaus muß vor dem Beginn des Events liegen.",
    "Beginn des Soundchecks muß größer oder gleich dem Ende des Aufbaus sein.",
    "Ende des Soundchecks muß nach dem Beginn des Soundchecks liegen.",
    "Beginn des Abbaus muß größer oder gleich dem Ende des Events sein.",
    "Ende des Abbaus muß nach dem Beginn des Abbaus liegen."};

// A new event's times of day on 20.06.2024, with some of them changed ("dd.MM. HH:mm").
Times plan(std::initializer_list<std::pair<Time, const char*>> changes = {}) {
    const auto at = [](const QString& text) {
        return QDateTime(
            QDate::fromString(text.left(6) + QStringLiteral("2024"), QStringLiteral("dd.MM.yyyy")),
            QTime::fromString(text.mid(7), QStringLiteral("HH:mm")), Qt::UTC);
    };
    Times times;
    const char* const defaults[kTimes] = {"20:00", "22:00", "16:00", "18:00",
                                          "18:00", "19:00", "22:00", "23:00"};
    for (int i = 0; i < kTimes; ++i)
        times[size_t(i)] = at(QStringLiteral("20.06. ") + QLatin1String(defaults[i]));
    for (const auto& [time, text] : changes)
        times[size_t(time)] = at(QLatin1String(text));
    return times;
}

TEST(TimePlanTest, FirstBrokenRuleNamesItsFieldAndTheFieldOfTheDifference) {
    const struct {
        const char* what;
        Times times;
        int rule; // 0: the plan passes
        Time field;
        bool onTimeField;
    } cases[] = {
        {"a new event's defaults", plan(), 0, Beginn, false},
        {"end equals begin", plan({{Ende, "20.06. 20:00"}}), 1, Ende, true},
        {"end the day before", plan({{Ende, "19.06. 23:00"}}), 1, Ende, false},
        {"set-up starts with the event", plan({{AufbauVon, "20.06. 20:00"}}), 2, AufbauVon, true},
        {"set-up ends as it starts", plan({{AufbauBis, "20.06. 16:00"}}), 3, AufbauBis, true},
        {"set-up ends with the begin", plan({{AufbauBis, "20.06. 20:00"}}), 4, AufbauBis, true},
        {"set-up ends a day late", plan({{AufbauBis, "21.06. 10:00"}}), 4, AufbauBis, false},
        {"sound check starts as set-up ends", plan({{SoundcheckVon, "20.06. 18:00"}}), 0, Beginn,
         false},
        {"sound check before set-up ends", plan({{SoundcheckVon, "20.06. 17:59"}}), 5,
         SoundcheckVon, true},
        {"sound check ends as it starts", plan({{SoundcheckBis, "20.06. 18:00"}}), 6, SoundcheckBis,
         true},
        {"sound check ends after the begin", plan({{SoundcheckBis, "20.06. 21:00"}}), 0, Beginn,
         false},
        {"take-down starts as the event ends", plan({{AbbauVon, "20.06. 22:00"}}), 0, Beginn,
         false},
        {"take-down before the end", plan({{AbbauVon, "20.06. 21:59"}}), 7, AbbauVon, true},
        {"take-down ends as it starts", plan({{AbbauBis, "20.06. 22:00"}}), 8, AbbauBis, true},
        {"take-down ends the day before", plan({{AbbauBis, "19.06. 23:00"}}), 8, AbbauBis, false},
        {"two broken, the first counts", plan({{Ende, "20.06. 19:00"}, {AbbauBis, "20.06. 10:00"}}),
         1, Ende, true},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.what);
        const std::optional<Violation> broken = check(each.times);
        ASSERT_EQ(broken.has_value(), each.rule != 0);
        if (!broken)
            continue;
        EXPECT_STREQ(broken->message, kRule[each.rule]);
        EXPECT_EQ(broken->time, each.field);
        EXPECT_EQ(broken->onTimeField, each.onTimeField);
    }
}

} // namespace
