// The tables and saved queries of Kavio.mde: every column in binding order with its type,
// and the SELECT behind each saved query.
#include "Schema.h"

namespace {

const ColumnDef kT_Event[] = {
    {"EventID", JetType::Long},
    {"EArt", JetType::Text},
    {"EBeginn", JetType::DateTime},
    {"EEnde", JetType::DateTime},
    {"ELocation", JetType::Text},
    {"EStrasse", JetType::Text},
    {"EPLZ", JetType::Text},
    {"EOrt", JetType::Text},
    {"EGageVereinb", JetType::Single},
    {"EfMWST", JetType::YesNo},
    {"EGageBezahlt", JetType::Single},
    {"EVerlStd", JetType::Single},
    {"EVereinbarung", JetType::Text},
    {"ETAufbauVon", JetType::DateTime},
    {"ETAufbauBis", JetType::DateTime},
    {"ESCheckVon", JetType::DateTime},
    {"ESCheckBis", JetType::DateTime},
    {"ETAbbauVon", JetType::DateTime},
    {"ETAbbauBis", JetType::DateTime},
    {"Status", JetType::Integer},
    {"VeranstalterID", JetType::Long},
    {"VAnsprechID", JetType::Long},
};
const ColumnDef kT_Event_Besetzung[] = {
    {"EventID", JetType::Long},
    {"MusikerID", JetType::Long},
};
const ColumnDef kT_Event_ExtFirma[] = {
    {"AnsprechID", JetType::Long},  {"Art", JetType::Integer},  {"Bemerkungen", JetType::Text},
    {"bVorhanden", JetType::YesNo}, {"EventID", JetType::Long}, {"ExtID", JetType::Long},
};
const ColumnDef kT_Event_Finanzen[] = {
    {"EventID", JetType::Long},
    {"Kostenstelle", JetType::Integer},
    {"ID", JetType::Long},
    {"Status", JetType::Byte},
    {"Auszahlung", JetType::Single},
    {"ZDatum", JetType::DateTime},
    {"fMWST", JetType::Byte},
    {"MwSt_Satz", JetType::Byte},
    {"Zahlungsart", JetType::Byte},
    {"ZahlungGegen", JetType::Byte},
    {"RechnungNr", JetType::Text},
    {"RDatum", JetType::DateTime},
    {"Bemerkung", JetType::Text},
    {"FinanzID", JetType::Long},
    {"Kostengruppe", JetType::Integer},
    {"Kostenart", JetType::Integer},
    {"fZahltVeranstalter", JetType::YesNo},
    {"Empfaenger", JetType::Text},
    {"Verwendung", JetType::Text},
};
const ColumnDef kT_Event_Merchandising[] = {
    {"EventID", JetType::Long},
    {"ArtikelID", JetType::Long},
    {"Artikel", JetType::Text},
    {"Artikelgruppe", JetType::Text},
    {"Artikelbeschreibung", JetType::Text},
    {"Label", JetType::Text},
    {"Interpret", JetType::Text},
    {"Menge", JetType::Long},
    {"Preis", JetType::Single},
    {"MerchID", JetType::Long},
};
const ColumnDef kT_Event_Uebernachtung[] = {
    {"Abreise", JetType::DateTime}, {"Anreise", JetType::DateTime}, {"Bemerkungen", JetType::Text},
    {"EventID", JetType::Long},     {"fBreakfest", JetType::YesNo}, {"Funktion", JetType::Integer},
    {"HotelID", JetType::Long},     {"PersonID", JetType::Long},    {"ZimmerArt", JetType::Byte},
    {"ZimmerNr", JetType::Integer},
};
const ColumnDef kT_Event_Uebernachtung_Zimmer[] = {
    {"Bemerkungen", JetType::Text}, {"EventID", JetType::Long},     {"HotelID", JetType::Long},
    {"Preis", JetType::Single},     {"ZimmerNr", JetType::Integer},
};
const ColumnDef kT_Event_Setliste[] = {
    {"SetlisteID", JetType::Long},
    {"EventID", JetType::Long},
    {"Bezeichnung", JetType::Text},
    {"Bemerkung", JetType::Text},
};
const ColumnDef kT_Event_Setliste_Songs[] = {
    {"Bearbeiter", JetType::Text}, {"Bemerkung", JetType::Text},  {"GemaWerkNr", JetType::Text},
    {"Interpret", JetType::Text},  {"Komponist", JetType::Text},  {"LfdNr", JetType::Integer},
    {"pf", JetType::Text},         {"SetlisteID", JetType::Long}, {"SetNr", JetType::Integer},
    {"Tempo", JetType::Integer},   {"Titel", JetType::Text},      {"Tonart", JetType::Text},
    {"Verleger", JetType::Text},
};
const ColumnDef kT_Event_Status[] = {
    {"EventID", JetType::Long},
    {"Stat_Plan_Besetzung", JetType::Byte},
    {"Stat_Plan_Technik", JetType::Byte},
    {"Stat_Plan_Backline", JetType::Byte},
    {"Stat_Plan_PA", JetType::Byte},
    {"Stat_Plan_LA", JetType::Byte},
    {"Stat_Plan_Transport", JetType::Byte},
    {"Stat_Plan_Nacht", JetType::Byte},
    {"Stat_Plan_Setliste", JetType::Byte},
    {"Stat_Fin_Personal", JetType::Byte},
    {"Stat_Fin_PA", JetType::Byte},
    {"Stat_Fin_LA", JetType::Byte},
    {"Stat_Fin_Transport", JetType::Byte},
    {"Stat_Fin_Nacht", JetType::Byte},
    {"Stat_Fin_Sonst", JetType::Byte},
};
// When the GEMA music report of an event was printed (empty while it never was), and whether
// the event owes no report at all; no row while neither was noted.
const ColumnDef kT_Event_Gema[] = {
    {"EventID", JetType::Long},
    {"GedrucktAm", JetType::DateTime},
    {"KeineMeldung", JetType::YesNo},
};
const ColumnDef kT_Event_Transport[] = {
    {"Bemerkungen", JetType::Text}, {"EventID", JetType::Long},     {"Fahrer", JetType::Text},
    {"KfzID", JetType::Long},       {"VerleiherID", JetType::Long},
};
const ColumnDef kT_Grunddaten[] = {
    {"Waehrungkurz", JetType::Text}, {"Waehrunglang", JetType::Text}, {"Union_No", JetType::Text},
    {"MWST_Satz1", JetType::Single}, {"MWST_Satz2", JetType::Single},
};
const ColumnDef kT_Stamm_ExtFirma[] = {
    {"ExtID", JetType::Long},       {"Art", JetType::Integer},      {"fPrivat", JetType::YesNo},
    {"Firma", JetType::Text},       {"Anrede", JetType::Integer},   {"Name", JetType::Text},
    {"Vorname", JetType::Text},     {"GebDate", JetType::DateTime}, {"Strasse", JetType::Text},
    {"PLZ", JetType::Text},         {"Ort", JetType::Text},         {"Tel", JetType::Text},
    {"Telm", JetType::Text},        {"Fax", JetType::Text},         {"Email", JetType::Text},
    {"Homepage", JetType::Text},    {"SteuerNr", JetType::Text},    {"Finanzamt", JetType::Text},
    {"Konto", JetType::Text},       {"BLZ", JetType::Text},         {"Bank", JetType::Text},
    {"Bemerkungen", JetType::Text}, {"fDeleted", JetType::YesNo},
};
const ColumnDef kT_Stamm_ExtAnsprech[] = {
    {"ExtID", JetType::Long},         {"Art", JetType::Integer},  {"APID", JetType::Long},
    {"APAnrede", JetType::Integer},   {"APName", JetType::Text},  {"APVorname", JetType::Text},
    {"APGebDate", JetType::DateTime}, {"APTel", JetType::Text},   {"APFax", JetType::Text},
    {"APTelm", JetType::Text},        {"APEmail", JetType::Text}, {"fDeleted", JetType::YesNo},
    {"APFunktion", JetType::Text},
};
const ColumnDef kT_Stamm_Musiker[] = {
    {"MusikerID", JetType::Long},    {"MAnrede", JetType::Integer}, {"MName", JetType::Text},
    {"MVorname", JetType::Text},     {"MKName", JetType::Text},     {"MStrasse", JetType::Text},
    {"MPLZ", JetType::Text},         {"MOrt", JetType::Text},       {"MTel", JetType::Text},
    {"MTelm", JetType::Text},        {"MFax", JetType::Text},       {"Memail", JetType::Text},
    {"Mbemerkungen", JetType::Text}, {"MKonto", JetType::Text},     {"MBLZ", JetType::Text},
    {"MBank", JetType::Text},        {"MGeb", JetType::DateTime},   {"MInstID1", JetType::Long},
    {"MInstID2", JetType::Long},     {"MInstID3", JetType::Long},   {"MInstID4", JetType::Long},
    {"MInstID5", JetType::Long},     {"MInstID6", JetType::Long},   {"MMinGage", JetType::Single},
    {"MSteuerNr", JetType::Text},    {"MFinanzamt", JetType::Text}, {"MFotopfad", JetType::Text},
    {"fDeleted", JetType::YesNo},    {"MHomepage", JetType::Text},
};
const ColumnDef kT_Stamm_Instrument[] = {
    {"Instrument", JetType::Text},
    {"InstrumentID", JetType::Long},
    {"Kurz", JetType::Text},
    {"fDeleted", JetType::YesNo},
};
const ColumnDef kT_Stamm_Hotel[] = {
    {"Bemerkungen", JetType::Text}, {"Email", JetType::Text},   {"Fax", JetType::Text},
    {"Homepage", JetType::Text},    {"HotelID", JetType::Long}, {"Kategorie", JetType::Text},
    {"Name", JetType::Text},        {"Ort", JetType::Text},     {"PLZ", JetType::Text},
    {"Strasse", JetType::Text},     {"Tel", JetType::Text},     {"Telm", JetType::Text},
    {"fDeleted", JetType::YesNo},
};
const ColumnDef kT_Stamm_KfzVerleiher_Kfz[] = {
    {"Art", JetType::Integer},      {"Bemerkung", JetType::Text}, {"ExtID", JetType::Long},
    {"Kennzeichen", JetType::Text}, {"KfzID", JetType::Long},     {"Kupplung", JetType::YesNo},
    {"Sitzpl", JetType::Integer},   {"Typ", JetType::Text},       {"ZulGewicht", JetType::Single},
    {"fDeleted", JetType::YesNo},
};
const ColumnDef kT_Stamm_Songliste[] = {
    {"SongID", JetType::Long},     {"Titel", JetType::Text},     {"Interpret", JetType::Text},
    {"Tonart", JetType::Text},     {"Tempo", JetType::Integer},  {"Bemerkungen", JetType::Text},
    {"GemaWerkNr", JetType::Text}, {"Komponist", JetType::Text}, {"Bearbeiter", JetType::Text},
    {"Verleger", JetType::Text},   {"pf", JetType::Text},
};
const ColumnDef kT_Stamm_Artikelgruppe[] = {
    {"Artikelgruppe", JetType::Text},
    {"Beschreibung", JetType::Text},
    {"Kategorie", JetType::Byte},
    {"fDeleted", JetType::YesNo},
};
const ColumnDef kT_Stamm_Artikel[] = {
    {"ArtikelID", JetType::Long}, {"Artikelgruppe", JetType::Text},
    {"Artikel", JetType::Text},   {"Artikelbeschreibung", JetType::Text},
    {"Preis1", JetType::Single},  {"Preis2", JetType::Single},
    {"Preis3", JetType::Single},  {"Preis4", JetType::Single},
    {"Interpret", JetType::Text}, {"Label", JetType::Text},
    {"fDeleted", JetType::YesNo}, {"Fotopfad", JetType::Text},
};
const ColumnDef kT_Stamm_Gema_Bezirk[] = {
    {"Bezirksdirektion", JetType::Text},
    {"Strasse", JetType::Text},
    {"PLZ", JetType::Text},
    {"Ort", JetType::Text},
    {"Tel1", JetType::Text},
    {"Tel2", JetType::Text},
    {"Fax1", JetType::Text},
    {"Fax2", JetType::Text},
    {"Email", JetType::Text},
    {"Homepage", JetType::Text},
    {"ZustBereich", JetType::Text},
};
const ColumnDef kUser[] = {
    {"Benutzer", JetType::Text}, {"Passwort", JetType::Text},     {"Band", JetType::Text},
    {"Email", JetType::Text},    {"Fax", JetType::Text},          {"Homepage", JetType::Text},
    {"Name", JetType::Text},     {"Ort", JetType::Text},          {"PLZ", JetType::Text},
    {"Strasse", JetType::Text},  {"Tel", JetType::Text},          {"Telm", JetType::Text},
    {"Vorname", JetType::Text},  {"ArtBesetzung", JetType::Text},
};
const ColumnDef kA_Event_Besetzung[] = {
    {"EventID", JetType::Long},    {"MusikerID", JetType::Long},  {"fDeleted", JetType::YesNo},
    {"MAnrede", JetType::Integer}, {"MName", JetType::Text},      {"MVorname", JetType::Text},
    {"MKName", JetType::Text},     {"MStrasse", JetType::Text},   {"MPLZ", JetType::Text},
    {"MOrt", JetType::Text},       {"MTel", JetType::Text},       {"MTelm", JetType::Text},
    {"MFax", JetType::Text},       {"Memail", JetType::Text},     {"Mbemerkungen", JetType::Text},
    {"MKonto", JetType::Text},     {"MBLZ", JetType::Text},       {"MBank", JetType::Text},
    {"MGeb", JetType::DateTime},   {"MInstID1", JetType::Long},   {"MInstID2", JetType::Long},
    {"MInstID3", JetType::Long},   {"MInstID4", JetType::Long},   {"MInstID5", JetType::Long},
    {"MInstID6", JetType::Long},   {"MMinGage", JetType::Single}, {"MSteuerNr", JetType::Text},
    {"MFinanzamt", JetType::Text}, {"MFotopfad", JetType::Text},  {"Kurz1", JetType::Text},
    {"Kurz2", JetType::Text},      {"Kurz3", JetType::Text},      {"Kurz4", JetType::Text},
    {"Kurz5", JetType::Text},      {"Kurz6", JetType::Text},
};
const ColumnDef kA_Event_ExtFirma[] = {
    {"Anrede", JetType::Integer},   {"Art", JetType::Integer},   {"Bank", JetType::Text},
    {"Bemerkungen", JetType::Text}, {"BLZ", JetType::Text},      {"bVorhanden", JetType::YesNo},
    {"EBemerkung", JetType::Text},  {"Email", JetType::Text},    {"EventID", JetType::Long},
    {"ExtID", JetType::Long},       {"Fax", JetType::Text},      {"fDeleted", JetType::YesNo},
    {"Finanzamt", JetType::Text},   {"Firma", JetType::Text},    {"fPrivat", JetType::YesNo},
    {"GebDate", JetType::DateTime}, {"Homepage", JetType::Text}, {"Konto", JetType::Text},
    {"Name", JetType::Text},        {"Ort", JetType::Text},      {"PLZ", JetType::Text},
    {"SteuerNr", JetType::Text},    {"Strasse", JetType::Text},  {"Tel", JetType::Text},
    {"Telm", JetType::Text},        {"Vorname", JetType::Text},
};
const ColumnDef kA_Event_Nacht[] = {
    {"Abreise", JetType::DateTime},  {"Anreise", JetType::DateTime},
    {"EBemerkungen", JetType::Text}, {"EventID", JetType::Long},
    {"fBreakfest", JetType::YesNo},  {"Funktion", JetType::Integer},
    {"HBemerkungen", JetType::Text}, {"HEmail", JetType::Text},
    {"HFax", JetType::Text},         {"HHomepage", JetType::Text},
    {"HKategorie", JetType::Text},   {"HName", JetType::Text},
    {"HOrt", JetType::Text},         {"HotelID", JetType::Long},
    {"HPLZ", JetType::Text},         {"HStrasse", JetType::Text},
    {"HTel", JetType::Text},         {"HTelm", JetType::Text},
    {"PersonID", JetType::Long},     {"Preis", JetType::Single},
    {"ZimmerArt", JetType::Byte},    {"ZimmerNr", JetType::Integer},
};
const ColumnDef kA_Event_Setliste[] = {
    {"EventID", JetType::Long},    {"SetNr", JetType::Integer},   {"LfdNr", JetType::Integer},
    {"Titel", JetType::Text},      {"Interpret", JetType::Text},  {"Tonart", JetType::Text},
    {"Tempo", JetType::Integer},   {"Komponist", JetType::Text},  {"Bemerkung", JetType::Text},
    {"Bearbeiter", JetType::Text}, {"GemaWerkNr", JetType::Text}, {"pf", JetType::Text},
    {"Verleger", JetType::Text},
};
const ColumnDef kA_Event_Transport[] = {
    {"EventID", JetType::Long},   {"VerleiherID", JetType::Long},
    {"KfzID", JetType::Long},     {"fDeleted", JetType::YesNo},
    {"Fahrer", JetType::Text},    {"Bemerkungen", JetType::Text},
    {"Typ", JetType::Text},       {"Kennzeichen", JetType::Text},
    {"Sitzpl", JetType::Integer}, {"ZulGewicht", JetType::Single},
    {"Kupplung", JetType::YesNo}, {"KfzBemerkung", JetType::Text},
    {"Anrede", JetType::Integer}, {"Firma", JetType::Text},
    {"fPrivat", JetType::YesNo},  {"Name", JetType::Text},
    {"Vorname", JetType::Text},
};
const ColumnDef kA_Druck_GigFirma[] = {
    {"EventID", JetType::Long},  {"Art", JetType::Integer},      {"ExtID", JetType::Long},
    {"fPrivat", JetType::YesNo}, {"Firma", JetType::Text},       {"Name", JetType::Text},
    {"Vorname", JetType::Text},  {"EBeginn", JetType::DateTime}, {"Status", JetType::Integer},
    {"EArt", JetType::Text},     {"ELocation", JetType::Text},   {"EOrt", JetType::Text},
};
const ColumnDef kA_Druck_GigMusiker[] = {
    {"EventID", JetType::Long}, {"EBeginn", JetType::DateTime}, {"MusikerID", JetType::Long},
    {"MName", JetType::Text},   {"MVorname", JetType::Text},    {"Status", JetType::Integer},
    {"EArt", JetType::Text},    {"ELocation", JetType::Text},   {"EOrt", JetType::Text},
};
const ColumnDef kA_Druck_Gema[] = {
    {"EventID", JetType::Long},
    {"Status", JetType::Integer},
    {"VeranstalterID", JetType::Long},
    {"VAnsprechID", JetType::Long},
    {"EArt", JetType::Text},
    {"EBeginn", JetType::DateTime},
    {"EEnde", JetType::DateTime},
    {"ELocation", JetType::Text},
    {"EStrasse", JetType::Text},
    {"EPLZ", JetType::Text},
    {"EOrt", JetType::Text},
    {"EGageVereinb", JetType::Single},
    {"EfMWST", JetType::YesNo},
    {"EGageBezahlt", JetType::Single},
    {"EVerlStd", JetType::Single},
    {"EVereinbarung", JetType::Text},
    {"ETAufbauVon", JetType::DateTime},
    {"ETAufbauBis", JetType::DateTime},
    {"ESCheckVon", JetType::DateTime},
    {"ESCheckBis", JetType::DateTime},
    {"ETAbbauVon", JetType::DateTime},
    {"ETAbbauBis", JetType::DateTime},
    {"ExtID", JetType::Long},
    {"Art", JetType::Integer},
    {"fDeleted", JetType::YesNo},
    {"fPrivat", JetType::YesNo},
    {"Firma", JetType::Text},
    {"Anrede", JetType::Integer},
    {"Name", JetType::Text},
    {"Vorname", JetType::Text},
    {"GebDate", JetType::DateTime},
    {"Strasse", JetType::Text},
    {"PLZ", JetType::Text},
    {"Ort", JetType::Text},
    {"Tel", JetType::Text},
    {"Telm", JetType::Text},
    {"Fax", JetType::Text},
    {"Email", JetType::Text},
    {"Homepage", JetType::Text},
    {"SteuerNr", JetType::Text},
    {"Finanzamt", JetType::Text},
    {"Konto", JetType::Text},
    {"BLZ", JetType::Text},
    {"Bank", JetType::Text},
    {"Bemerkungen", JetType::Text},
};

const char* const kSelectA_Event_Besetzung = R"sql(SELECT
    b."EventID" AS "EventID",
    b."MusikerID" AS "MusikerID",
    m."fDeleted" AS "fDeleted",
    m."MAnrede" AS "MAnrede",
    m."MName" AS "MName",
    m."MVorname" AS "MVorname",
    m."MKName" AS "MKName",
    m."MStrasse" AS "MStrasse",
    m."MPLZ" AS "MPLZ",
    m."MOrt" AS "MOrt",
    m."MTel" AS "MTel",
    m."MTelm" AS "MTelm",
    m."MFax" AS "MFax",
    m."Memail" AS "Memail",
    m."Mbemerkungen" AS "Mbemerkungen",
    m."MKonto" AS "MKonto",
    m."MBLZ" AS "MBLZ",
    m."MBank" AS "MBank",
    m."MGeb" AS "MGeb",
    m."MInstID1" AS "MInstID1",
    m."MInstID2" AS "MInstID2",
    m."MInstID3" AS "MInstID3",
    m."MInstID4" AS "MInstID4",
    m."MInstID5" AS "MInstID5",
    m."MInstID6" AS "MInstID6",
    m."MMinGage" AS "MMinGage",
    m."MSteuerNr" AS "MSteuerNr",
    m."MFinanzamt" AS "MFinanzamt",
    m."MFotopfad" AS "MFotopfad",
    COALESCE(i1."Kurz", '') AS "Kurz1",
    COALESCE(i2."Kurz", '') AS "Kurz2",
    COALESCE(i3."Kurz", '') AS "Kurz3",
    COALESCE(i4."Kurz", '') AS "Kurz4",
    COALESCE(i5."Kurz", '') AS "Kurz5",
    COALESCE(i6."Kurz", '') AS "Kurz6"
FROM "T_Event_Besetzung" AS b LEFT JOIN "T_Stamm_Musiker" AS m ON m."MusikerID" = b."MusikerID" LEFT JOIN "T_Stamm_Instrument" AS i1 ON i1."InstrumentID" = m."MInstID1" LEFT JOIN "T_Stamm_Instrument" AS i2 ON i2."InstrumentID" = m."MInstID2" LEFT JOIN "T_Stamm_Instrument" AS i3 ON i3."InstrumentID" = m."MInstID3" LEFT JOIN "T_Stamm_Instrument" AS i4 ON i4."InstrumentID" = m."MInstID4" LEFT JOIN "T_Stamm_Instrument" AS i5 ON i5."InstrumentID" = m."MInstID5" LEFT JOIN "T_Stamm_Instrument" AS i6 ON i6."InstrumentID" = m."MInstID6")sql";

const char* const kSelectA_Event_ExtFirma = R"sql(SELECT
    f."Anrede" AS "Anrede",
    e."Art" AS "Art",
    f."Bank" AS "Bank",
    f."Bemerkungen" AS "Bemerkungen",
    f."BLZ" AS "BLZ",
    e."bVorhanden" AS "bVorhanden",
    e."Bemerkungen" AS "EBemerkung",
    f."Email" AS "Email",
    e."EventID" AS "EventID",
    e."ExtID" AS "ExtID",
    f."Fax" AS "Fax",
    f."fDeleted" AS "fDeleted",
    f."Finanzamt" AS "Finanzamt",
    f."Firma" AS "Firma",
    f."fPrivat" AS "fPrivat",
    f."GebDate" AS "GebDate",
    f."Homepage" AS "Homepage",
    f."Konto" AS "Konto",
    f."Name" AS "Name",
    f."Ort" AS "Ort",
    f."PLZ" AS "PLZ",
    f."SteuerNr" AS "SteuerNr",
    f."Strasse" AS "Strasse",
    f."Tel" AS "Tel",
    f."Telm" AS "Telm",
    f."Vorname" AS "Vorname"
FROM "T_Event_ExtFirma" AS e LEFT JOIN "T_Stamm_ExtFirma" AS f ON f."ExtID" = e."ExtID" AND f."Art" = e."Art")sql";

const char* const kSelectA_Event_Nacht = R"sql(SELECT
    u."Abreise" AS "Abreise",
    u."Anreise" AS "Anreise",
    u."Bemerkungen" AS "EBemerkungen",
    u."EventID" AS "EventID",
    u."fBreakfest" AS "fBreakfest",
    u."Funktion" AS "Funktion",
    h."Bemerkungen" AS "HBemerkungen",
    h."Email" AS "HEmail",
    h."Fax" AS "HFax",
    h."Homepage" AS "HHomepage",
    h."Kategorie" AS "HKategorie",
    h."Name" AS "HName",
    h."Ort" AS "HOrt",
    u."HotelID" AS "HotelID",
    h."PLZ" AS "HPLZ",
    h."Strasse" AS "HStrasse",
    h."Tel" AS "HTel",
    h."Telm" AS "HTelm",
    u."PersonID" AS "PersonID",
    z."Preis" AS "Preis",
    u."ZimmerArt" AS "ZimmerArt",
    u."ZimmerNr" AS "ZimmerNr"
FROM "T_Event_Uebernachtung" AS u LEFT JOIN "T_Stamm_Hotel" AS h ON h."HotelID" = u."HotelID" LEFT JOIN "T_Event_Uebernachtung_Zimmer" AS z ON z."EventID" = u."EventID" AND z."HotelID" = u."HotelID" AND z."ZimmerNr" = u."ZimmerNr")sql";

const char* const kSelectA_Event_Setliste = R"sql(SELECT
    s."EventID" AS "EventID",
    g."SetNr" AS "SetNr",
    g."LfdNr" AS "LfdNr",
    g."Titel" AS "Titel",
    g."Interpret" AS "Interpret",
    g."Tonart" AS "Tonart",
    g."Tempo" AS "Tempo",
    g."Komponist" AS "Komponist",
    g."Bemerkung" AS "Bemerkung",
    g."Bearbeiter" AS "Bearbeiter",
    g."GemaWerkNr" AS "GemaWerkNr",
    g."pf" AS "pf",
    g."Verleger" AS "Verleger"
FROM "T_Event_Setliste" AS s JOIN "T_Event_Setliste_Songs" AS g ON g."SetlisteID" = s."SetlisteID")sql";

const char* const kSelectA_Event_Transport = R"sql(SELECT
    t."EventID" AS "EventID",
    t."VerleiherID" AS "VerleiherID",
    t."KfzID" AS "KfzID",
    k."fDeleted" AS "fDeleted",
    t."Fahrer" AS "Fahrer",
    t."Bemerkungen" AS "Bemerkungen",
    k."Typ" AS "Typ",
    k."Kennzeichen" AS "Kennzeichen",
    k."Sitzpl" AS "Sitzpl",
    k."ZulGewicht" AS "ZulGewicht",
    k."Kupplung" AS "Kupplung",
    k."Bemerkung" AS "KfzBemerkung",
    f."Anrede" AS "Anrede",
    f."Firma" AS "Firma",
    f."fPrivat" AS "fPrivat",
    f."Name" AS "Name",
    f."Vorname" AS "Vorname"
FROM "T_Event_Transport" AS t LEFT JOIN "T_Stamm_KfzVerleiher_Kfz" AS k ON k."KfzID" = t."KfzID" LEFT JOIN "T_Stamm_ExtFirma" AS f ON f."ExtID" = t."VerleiherID")sql";

const char* const kSelectA_Druck_GigFirma = R"sql(SELECT
    b."EventID" AS "EventID",
    b."Art" AS "Art",
    b."ExtID" AS "ExtID",
    f."fPrivat" AS "fPrivat",
    f."Firma" AS "Firma",
    f."Name" AS "Name",
    f."Vorname" AS "Vorname",
    ev."EBeginn" AS "EBeginn",
    ev."Status" AS "Status",
    ev."EArt" AS "EArt",
    ev."ELocation" AS "ELocation",
    ev."EOrt" AS "EOrt"
FROM "T_Event_ExtFirma" AS b JOIN "T_Event" AS ev ON ev."EventID" = b."EventID" LEFT JOIN "T_Stamm_ExtFirma" AS f ON f."ExtID" = b."ExtID")sql";

const char* const kSelectA_Druck_GigMusiker = R"sql(SELECT
    b."EventID" AS "EventID",
    ev."EBeginn" AS "EBeginn",
    b."MusikerID" AS "MusikerID",
    m."MName" AS "MName",
    m."MVorname" AS "MVorname",
    ev."Status" AS "Status",
    ev."EArt" AS "EArt",
    ev."ELocation" AS "ELocation",
    ev."EOrt" AS "EOrt"
FROM "T_Event_Besetzung" AS b JOIN "T_Event" AS ev ON ev."EventID" = b."EventID" LEFT JOIN "T_Stamm_Musiker" AS m ON m."MusikerID" = b."MusikerID")sql";

const char* const kSelectA_Druck_Gema = R"sql(SELECT
    ev."EventID" AS "EventID",
    ev."Status" AS "Status",
    ev."VeranstalterID" AS "VeranstalterID",
    ev."VAnsprechID" AS "VAnsprechID",
    ev."EArt" AS "EArt",
    ev."EBeginn" AS "EBeginn",
    ev."EEnde" AS "EEnde",
    ev."ELocation" AS "ELocation",
    ev."EStrasse" AS "EStrasse",
    ev."EPLZ" AS "EPLZ",
    ev."EOrt" AS "EOrt",
    ev."EGageVereinb" AS "EGageVereinb",
    ev."EfMWST" AS "EfMWST",
    ev."EGageBezahlt" AS "EGageBezahlt",
    ev."EVerlStd" AS "EVerlStd",
    ev."EVereinbarung" AS "EVereinbarung",
    ev."ETAufbauVon" AS "ETAufbauVon",
    ev."ETAufbauBis" AS "ETAufbauBis",
    ev."ESCheckVon" AS "ESCheckVon",
    ev."ESCheckBis" AS "ESCheckBis",
    ev."ETAbbauVon" AS "ETAbbauVon",
    ev."ETAbbauBis" AS "ETAbbauBis",
    f."ExtID" AS "ExtID",
    f."Art" AS "Art",
    f."fDeleted" AS "fDeleted",
    f."fPrivat" AS "fPrivat",
    f."Firma" AS "Firma",
    f."Anrede" AS "Anrede",
    f."Name" AS "Name",
    f."Vorname" AS "Vorname",
    f."GebDate" AS "GebDate",
    f."Strasse" AS "Strasse",
    f."PLZ" AS "PLZ",
    f."Ort" AS "Ort",
    f."Tel" AS "Tel",
    f."Telm" AS "Telm",
    f."Fax" AS "Fax",
    f."Email" AS "Email",
    f."Homepage" AS "Homepage",
    f."SteuerNr" AS "SteuerNr",
    f."Finanzamt" AS "Finanzamt",
    f."Konto" AS "Konto",
    f."BLZ" AS "BLZ",
    f."Bank" AS "Bank",
    f."Bemerkungen" AS "Bemerkungen"
FROM "T_Event" AS ev LEFT JOIN "T_Stamm_ExtFirma" AS f ON f."ExtID" = ev."VeranstalterID")sql";

} // namespace

namespace Schema::detail {

const std::vector<SourceDef>& allSources() {
    static const std::vector<SourceDef> sources = [] {
        std::vector<SourceDef> list;
        list.reserve(32);
        list.emplace_back("T_Event",
                          std::vector<ColumnDef>(std::begin(kT_Event), std::end(kT_Event)),
                          "EventID", nullptr);
        list.emplace_back(
            "T_Event_Besetzung",
            std::vector<ColumnDef>(std::begin(kT_Event_Besetzung), std::end(kT_Event_Besetzung)),
            nullptr, nullptr);
        list.emplace_back(
            "T_Event_ExtFirma",
            std::vector<ColumnDef>(std::begin(kT_Event_ExtFirma), std::end(kT_Event_ExtFirma)),
            nullptr, nullptr);
        list.emplace_back(
            "T_Event_Finanzen",
            std::vector<ColumnDef>(std::begin(kT_Event_Finanzen), std::end(kT_Event_Finanzen)),
            "FinanzID", nullptr);
        list.emplace_back("T_Event_Merchandising",
                          std::vector<ColumnDef>(std::begin(kT_Event_Merchandising),
                                                 std::end(kT_Event_Merchandising)),
                          "MerchID", nullptr);
        list.emplace_back("T_Event_Uebernachtung",
                          std::vector<ColumnDef>(std::begin(kT_Event_Uebernachtung),
                                                 std::end(kT_Event_Uebernachtung)),
                          nullptr, nullptr);
        list.emplace_back("T_Event_Uebernachtung_Zimmer",
                          std::vector<ColumnDef>(std::begin(kT_Event_Uebernachtung_Zimmer),
                                                 std::end(kT_Event_Uebernachtung_Zimmer)),
                          nullptr, nullptr);
        list.emplace_back(
            "T_Event_Setliste",
            std::vector<ColumnDef>(std::begin(kT_Event_Setliste), std::end(kT_Event_Setliste)),
            "SetlisteID", nullptr);
        list.emplace_back("T_Event_Setliste_Songs",
                          std::vector<ColumnDef>(std::begin(kT_Event_Setliste_Songs),
                                                 std::end(kT_Event_Setliste_Songs)),
                          nullptr, nullptr);
        list.emplace_back(
            "T_Event_Status",
            std::vector<ColumnDef>(std::begin(kT_Event_Status), std::end(kT_Event_Status)), nullptr,
            nullptr);
        list.emplace_back(
            "T_Event_Transport",
            std::vector<ColumnDef>(std::begin(kT_Event_Transport), std::end(kT_Event_Transport)),
            nullptr, nullptr);
        list.emplace_back(
            "T_Event_Gema",
            std::vector<ColumnDef>(std::begin(kT_Event_Gema), std::end(kT_Event_Gema)), nullptr,
            nullptr);
        list.emplace_back(
            "T_Grunddaten",
            std::vector<ColumnDef>(std::begin(kT_Grunddaten), std::end(kT_Grunddaten)), nullptr,
            nullptr);
        list.emplace_back(
            "T_Stamm_ExtFirma",
            std::vector<ColumnDef>(std::begin(kT_Stamm_ExtFirma), std::end(kT_Stamm_ExtFirma)),
            "ExtID", nullptr);
        list.emplace_back("T_Stamm_ExtAnsprech",
                          std::vector<ColumnDef>(std::begin(kT_Stamm_ExtAnsprech),
                                                 std::end(kT_Stamm_ExtAnsprech)),
                          "APID", nullptr);
        list.emplace_back(
            "T_Stamm_Musiker",
            std::vector<ColumnDef>(std::begin(kT_Stamm_Musiker), std::end(kT_Stamm_Musiker)),
            "MusikerID", nullptr);
        list.emplace_back(
            "T_Stamm_Instrument",
            std::vector<ColumnDef>(std::begin(kT_Stamm_Instrument), std::end(kT_Stamm_Instrument)),
            "InstrumentID", nullptr);
        list.emplace_back(
            "T_Stamm_Hotel",
            std::vector<ColumnDef>(std::begin(kT_Stamm_Hotel), std::end(kT_Stamm_Hotel)), "HotelID",
            nullptr);
        list.emplace_back("T_Stamm_KfzVerleiher_Kfz",
                          std::vector<ColumnDef>(std::begin(kT_Stamm_KfzVerleiher_Kfz),
                                                 std::end(kT_Stamm_KfzVerleiher_Kfz)),
                          "KfzID", nullptr);
        list.emplace_back(
            "T_Stamm_Songliste",
            std::vector<ColumnDef>(std::begin(kT_Stamm_Songliste), std::end(kT_Stamm_Songliste)),
            "SongID", nullptr);
        list.emplace_back("T_Stamm_Artikelgruppe",
                          std::vector<ColumnDef>(std::begin(kT_Stamm_Artikelgruppe),
                                                 std::end(kT_Stamm_Artikelgruppe)),
                          nullptr, nullptr);
        list.emplace_back(
            "T_Stamm_Artikel",
            std::vector<ColumnDef>(std::begin(kT_Stamm_Artikel), std::end(kT_Stamm_Artikel)),
            "ArtikelID", nullptr);
        list.emplace_back("T_Stamm_Gema_Bezirk",
                          std::vector<ColumnDef>(std::begin(kT_Stamm_Gema_Bezirk),
                                                 std::end(kT_Stamm_Gema_Bezirk)),
                          nullptr, nullptr);
        list.emplace_back("User", std::vector<ColumnDef>(std::begin(kUser), std::end(kUser)),
                          nullptr, nullptr);
        list.emplace_back(
            "A_Event_Besetzung",
            std::vector<ColumnDef>(std::begin(kA_Event_Besetzung), std::end(kA_Event_Besetzung)),
            nullptr, kSelectA_Event_Besetzung);
        list.emplace_back(
            "A_Event_ExtFirma",
            std::vector<ColumnDef>(std::begin(kA_Event_ExtFirma), std::end(kA_Event_ExtFirma)),
            nullptr, kSelectA_Event_ExtFirma);
        list.emplace_back(
            "A_Event_Nacht",
            std::vector<ColumnDef>(std::begin(kA_Event_Nacht), std::end(kA_Event_Nacht)), nullptr,
            kSelectA_Event_Nacht);
        list.emplace_back(
            "A_Event_Setliste",
            std::vector<ColumnDef>(std::begin(kA_Event_Setliste), std::end(kA_Event_Setliste)),
            nullptr, kSelectA_Event_Setliste);
        list.emplace_back(
            "A_Event_Transport",
            std::vector<ColumnDef>(std::begin(kA_Event_Transport), std::end(kA_Event_Transport)),
            nullptr, kSelectA_Event_Transport);
        list.emplace_back(
            "A_Druck_GigFirma",
            std::vector<ColumnDef>(std::begin(kA_Druck_GigFirma), std::end(kA_Druck_GigFirma)),
            nullptr, kSelectA_Druck_GigFirma);
        list.emplace_back(
            "A_Druck_GigMusiker",
            std::vector<ColumnDef>(std::begin(kA_Druck_GigMusiker), std::end(kA_Druck_GigMusiker)),
            nullptr, kSelectA_Druck_GigMusiker);
        list.emplace_back(
            "A_Druck_Gema",
            std::vector<ColumnDef>(std::begin(kA_Druck_Gema), std::end(kA_Druck_Gema)), nullptr,
            kSelectA_Druck_Gema);
        return list;
    }();
    return sources;
}

} // namespace Schema::detail
