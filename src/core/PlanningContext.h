#pragma once

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <optional>

class CDatabase;

// What the planning hub and every planning form know of the event they plan, as its record
// held it when planning began.
struct PlanningContext {
    std::int32_t eventId = -1;
    QString kind;            // EArt
    QString location;        // ELocation
    QString street;          // EStrasse
    QString postcodeAndTown; // EPLZ and EOrt joined by one blank
    QDateTime begin;         // EBeginn
    QDateTime end;           // EEnde

    // The event's context; nothing when there is no such event. Throws CDaoException.
    static std::optional<PlanningContext> read(CDatabase& db, std::int32_t eventId);
};
