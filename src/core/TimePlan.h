#pragma once

#include <QDateTime>

#include <array>
#include <optional>

// The time plan of an event: its begin and end and the six technical times. Before an event is
// stored its times must follow one another in the order the evening runs.
namespace TimePlan {

// The eight times, in the order of the form.
enum Time {
    Beginn,
    Ende,
    AufbauVon,
    AufbauBis,
    SoundcheckVon,
    SoundcheckBis,
    AbbauVon,
    AbbauBis,
    kTimes
};

using Times = std::array<QDateTime, kTimes>;

// The first rule a time plan breaks: its message, the time to correct, and whether the user
// corrects it in the time field (both compared times lie on the same day) or in the date field.
struct Violation {
    const char* message;
    Time time;
    bool onTimeField;
};

// Checks the rules in their order and gives the first one broken, or nothing. Only the
// neighbours named by a rule are compared: a sound check may end after the event has begun.
std::optional<Violation> check(const Times& times);

} // namespace TimePlan
