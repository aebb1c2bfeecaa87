#include "ListKinds.h"

#include "Settings.h"
#include "resources/Strings.h"

namespace {

const ListKindInfo kKinds[] = {
    {ListKind::Organizers, 8, Strings::kFirmColumns, &Settings::Organizer, true, 0,
     "Ne&uer Veranstalter...", "Veranstalter &löschen", "Veranstalter &bearbeiten..."},
    {ListKind::Technicians, 8, Strings::kFirmColumns, &Settings::Technician, true, 1,
     "Ne&uer Techniker...", "Techniker &löschen", "Techniker &bearbeiten..."},
    {ListKind::Musicians, 7, Strings::kMusicianColumns, &Settings::Musician, true, -1,
     "Ne&uer Musiker...", "Musiker &löschen", "Musiker &bearbeiten..."},
    {ListKind::Backliners, 8, Strings::kFirmColumns, &Settings::Backliner, true, 2,
     "Ne&uer Backliner...", "Backliner &löschen", "Backliner &bearbeiten..."},
    {ListKind::Events, 9, Strings::kEventColumns, &Settings::Event, true, -1, "Ne&uer Event...",
     "Event &löschen", "Event &bearbeiten..."},
    {ListKind::CarHire, 8, Strings::kFirmColumns, &Settings::CarRental, true, 5,
     "Ne&uer Kfz-Verleiher...", "Kfz-Verleiher &löschen", "Kfz-Verleiher &bearbeiten..."},
    {ListKind::PAHire, 8, Strings::kFirmColumns, &Settings::PARental, true, 3,
     "Ne&uer PA-Verleiher...", "PA-Verleiher &löschen", "PA-Verleiher &bearbeiten..."},
    {ListKind::LightHire, 8, Strings::kFirmColumns, &Settings::LightRental, true, 4,
     "Ne&uer LA-Verleiher...", "LA-Verleiher &löschen", "LA-Verleiher &bearbeiten..."},
    {ListKind::Accounting, 9, Strings::kEventColumns, &Settings::Accounting, true, -1, nullptr,
     nullptr, "&Planung Finanzen..."},
    {ListKind::Merchandise, 9, Strings::kEventColumns, &Settings::Event, true, -1, nullptr, nullptr,
     "Artikel &bearbeiten..."},
    // The print list takes the event list's default widths and never keeps its own.
    {ListKind::Print, 9, Strings::kEventColumns, &Settings::Event, false, -1, nullptr, nullptr,
     "Dr&ucken..."},
};

} // namespace

const ListKindInfo* listKindInfo(int kind) {
    for (const ListKindInfo& info : kKinds) {
        if (info.kind == kind)
            return &info;
    }
    return nullptr;
}

bool isFirmList(int kind) {
    const ListKindInfo* info = listKindInfo(kind);
    return info && info->firmKind >= 0;
}

bool isEventList(int kind) {
    return kind == ListKind::Events || kind == ListKind::Accounting ||
           kind == ListKind::Merchandise || kind == ListKind::Print;
}
