#pragma once

// The program's own texts that more than one place shows, by the number under which the
// string table has always kept them.
namespace Strings {

constexpr const char* kChooseEntry = "Wählen Sie bitte einen Eintrag aus der Liste.";       // 263
constexpr const char* kChooseEvent = "Wählen Sie bitte einen Event aus der Liste.";         // 246
constexpr const char* kDeleteQuestion = "Soll \"%1\" wirklich gelöscht werden?";            // 170
constexpr const char* kDeleteMusician = "Soll Musiker \"%1 %2\" wirklich gelöscht werden?"; // 200
constexpr const char* kDeleteEvent = "Soll der Event \"%1\" am %2 wirklich gelöscht werden?";
constexpr const char* kExitQuestion = "Wollen Sie Vorlanto wirklich beenden?"; // 224
constexpr const char* kPrivate = "Privat";                                     // 311
constexpr const char* kBusiness = "Gewerbe";                                   // 308
// The salutations of persons; a form stores the index (0 "Herr", 1 "Frau").
constexpr const char* kSalutations = "Herr\nFrau";
constexpr const char* kAllInstruments = "<Alle Anzeigen>"; // 354
constexpr const char* kInstrumentsColumn = "Instrumente";  // 221
constexpr const char* kMusicianColumn = "Musiker";         // 222
constexpr const char* kNotAvailable =
    "Dieses Formular ist in dieser Version von Vorlanto noch nicht verfügbar.";

// Column titles of the main lists, one per line.
constexpr const char* kEventColumns =
    "Status\nBeginn\nEnde\nVeranstalter\nLocation\nStrasse\nOrt\nAufbau ab\nAbbau ab"; // 168
constexpr const char* kFirmColumns =
    "Art\nFirma/Name\nStrasse\nOrt\nTelefon\nFax\nHandy\nEMail";                              // 169
constexpr const char* kMusicianColumns = "Name\nVorname\nOrt\nStraße\nTelefon\nHandy\nEMail"; // 261

} // namespace Strings
