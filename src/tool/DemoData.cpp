// Example data for a new program directory, and generated events for measuring large databases.
//
// Every person, band, firm, venue and song here is invented. Landline numbers come from the
// blocks the Bundesnetzagentur keeps free for film and television, e-mail and web addresses use
// the reserved top-level domain ".example", so none of them reaches anybody.
#include "DemoData.h"

#include "core/FinanceModel.h"
#include "core/OvernightPlan.h"
#include "data/CDatabase.h"
#include "data/RecordSets.h"

#include <QDate>
#include <QDateTime>
#include <QLatin1String>
#include <QString>
#include <QTime>

#include <algorithm>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <random>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// --- writing rows ---------------------------------------------------------------------------

QDateTime at(int year, int month, int day, int hour = 0, int minute = 0) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute), Qt::UTC);
}

QDateTime atMinutes(const QDateTime& moment, int minutes) {
    return moment.addSecs(static_cast<qint64>(minutes) * 60);
}

// Opens a record set only to add rows through it. The filter matches no row and is answered
// from an index where the table has one, so opening stays cheap however full the table is.
void openForAdding(CRecordset& set) {
    const SourceDef& source = set.source();
    if (source.autoKey()) {
        set.open(QStringLiteral("[%1]=-1").arg(QLatin1String(source.autoKey())));
    } else if (source.indexOf("EventID") >= 0) {
        set.open(QStringLiteral("[EventID]=-1"));
    } else {
        const QLatin1String column(source.column(0).name);
        set.open(QStringLiteral("[%1] Is Null AND [%1] Is Not Null").arg(column));
    }
}

// One new row, filled column by column. An empty text stays null, as a field nobody typed into.
class NewRow {
public:
    explicit NewRow(CRecordset& set) : m_set(set) { m_set.addNew(); }

    NewRow& text(std::string_view column, const QString& value) {
        if (!value.isEmpty())
            m_set.setText(column, value);
        return *this;
    }
    NewRow& text(std::string_view column, const char* value) {
        return text(column, QString::fromUtf8(value));
    }
    NewRow& number(std::string_view column, std::int64_t value) {
        m_set.setLong(column, value);
        return *this;
    }
    NewRow& amount(std::string_view column, double value) {
        m_set.setSingle(column, value);
        return *this;
    }
    NewRow& flag(std::string_view column, bool value) {
        m_set.setBool(column, value);
        return *this;
    }
    NewRow& date(std::string_view column, const QDateTime& value) {
        m_set.setDate(column, value);
        return *this;
    }

    void store() { m_set.update(); }
    // Writes the row and reads back the key the database gave it.
    std::int32_t storeKey() {
        m_set.update();
        m_set.moveToBookmark(m_set.lastModified());
        return m_set.getLong(m_set.source().autoKey());
    }

private:
    CRecordset& m_set;
};

// The time plan around a show: set-up ends two hours before the begin, the sound check follows a
// quarter of an hour later and takes 45 minutes, the strike starts a quarter of an hour after the
// end and takes an hour and a half. This passes every check of the event form.
void setTimePlan(NewRow& row, const QDateTime& begin, int showMinutes, int setupMinutes) {
    const QDateTime end = atMinutes(begin, showMinutes);
    const QDateTime setupEnd = atMinutes(begin, -120);
    const QDateTime soundCheck = atMinutes(setupEnd, 15);
    row.date("EBeginn", begin)
        .date("EEnde", end)
        .date("ETAufbauVon", atMinutes(setupEnd, -setupMinutes))
        .date("ETAufbauBis", setupEnd)
        .date("ESCheckVon", soundCheck)
        .date("ESCheckBis", atMinutes(soundCheck, 45))
        .date("ETAbbauVon", atMinutes(end, 15))
        .date("ETAbbauBis", atMinutes(end, 105));
}

// Firm kinds (column Art)
constexpr int kOrganiser = 0;
constexpr int kTechnician = 1;
constexpr int kBackliner = 2;
constexpr int kPaHire = 3;
constexpr int kLightHire = 4;
constexpr int kCarHire = 5;

// Salutation index
constexpr int kHerr = 0;
constexpr int kFrau = 1;

// Who stays overnight (column Funktion)
constexpr int kGuestMusician = OvernightPlan::Musician;
constexpr int kGuestTechnician = OvernightPlan::Technician;

// Payment method and what was paid against
constexpr int kCash = 0;
constexpr int kTransfer = 2;
constexpr int kCard = 3;
constexpr int kAgainstInvoice = 0;
constexpr int kAgainstReceipt = 1;

// The eight planning areas and six accounting areas of an event, in column order.
constexpr std::array<const char*, 14> kStatusColumns = {
    "Stat_Plan_Besetzung", "Stat_Plan_Technik",   "Stat_Plan_Backline", "Stat_Plan_PA",
    "Stat_Plan_LA",        "Stat_Plan_Transport", "Stat_Plan_Nacht",    "Stat_Plan_Setliste",
    "Stat_Fin_Personal",   "Stat_Fin_PA",         "Stat_Fin_LA",        "Stat_Fin_Transport",
    "Stat_Fin_Nacht",      "Stat_Fin_Sonst"};
using Progress = std::array<int, 14>;

void addStatus(CRecordset& set, std::int32_t event, const Progress& progress) {
    NewRow row(set);
    row.number("EventID", event);
    for (size_t i = 0; i < kStatusColumns.size(); ++i)
        row.number(kStatusColumns[i], progress[i]);
    row.store();
}

// --- the example band -------------------------------------------------------------------------

constexpr const char* kBand = "Die Kranichtaler";

enum Instrument { kAkk, kVoc, kGit, kBass, kDr, kKey, kSax, kTrp, kPos, kKlar, kPerc, kTuba };

struct InstrumentData {
    const char* name;
    const char* shortName;
};

const InstrumentData kInstruments[] = {
    {"Akkordeon", "Akk"}, {"Gesang", "Voc"},      {"Gitarre", "Git"},     {"E-Bass", "Bass"},
    {"Schlagzeug", "Dr"}, {"Keyboard", "Key"},    {"Saxophon", "Sax"},    {"Trompete", "Trp"},
    {"Posaune", "Pos"},   {"Klarinette", "Klar"}, {"Percussion", "Perc"}, {"Tuba", "Tuba"},
};

enum Musician { kKorbinian, kVeronika, kFlorian, kMatthias, kQuirin, kTheresa, kBenedikt, kLudwig };

struct MusicianData {
    int salutation;
    const char* surname;
    const char* firstName;
    const char* stageName;
    const char* street;
    const char* postcode;
    const char* town;
    const char* email;
    const char* birthday; // "" for a day shortly after today
    int instrument1;      // -1: none
    int instrument2;
    int instrument3;
    float minimumFee;
    const char* taxNumber;
    int bank; // 0 or 1, see kBanks
    const char* account;
    const char* remarks;
    bool deleted;
};

struct BankData {
    const char* name;
    const char* sortCode;
};

const BankData kBanks[] = {{"Raiffeisenbank Kranichtal", "99910001"},
                           {"Sparkasse Haselried-Lindenfeld", "99920002"}};

const MusicianData kMusicians[] = {
    {kHerr, "Brandl", "Korbinian", "Korbi", "Mühlbachweg 7", "84187", "Kranichtal",
     "korbinian@kranichtaler.example", "1979-03-14", kAkk, kVoc, kKey, 300, "151/204/30117", 0,
     "4011827", "Kapellmeister; Buchungen und Abrechnung", false},
    {kFrau, "Stadlmaier", "Veronika", "Vroni", "Lindenstraße 22", "84192", "Haselried",
     "vroni@kranichtaler.example", "", kVoc, kSax, -1, 280, "151/211/40522", 1, "2200418",
     "Leadgesang; bringt ihr eigenes Gesangsmikrofon mit", false},
    {kHerr, "Wimmreuther", "Florian", "", "Am Kirchberg 3", "84163", "Oberwiesbrunn",
     "florian@kranichtaler.example", "1985-07-22", kGit, kVoc, kBass, 250, "151/198/22041", 0,
     "4027713", "Fährt den Bandbus (Führerschein BE)", false},
    {kHerr, "Ederer", "Matthias", "Matze", "Schulgasse 9", "84187", "Kranichtal",
     "matze@kranichtaler.example", "1982-11-30", kBass, kVoc, -1, 250, "151/187/55310", 1,
     "2231950", "", false},
    {kHerr, "Hollweck", "Quirin", "", "Uferweg 15", "84209", "Lindenfeld am See",
     "quirin@kranichtaler.example", "1991-01-09", kDr, kPerc, -1, 250, "151/230/11872", 0,
     "4050288", "Akustisches Schlagzeug bleibt im Proberaum, für kleine Säle E-Drums", false},
    {kFrau, "Kollmannsberger", "Theresa", "Resi", "Birkenallee 4", "84175", "Birkenöd",
     "theresa@kranichtaler.example", "1996-05-27", kTrp, kKey, kVoc, 220, "151/244/70613", 1,
     "2260077", "Aushilfe für die große Besetzung", false},
    {kHerr, "Rauschmayr", "Benedikt", "Bene", "Hofmark 2", "84231", "Tannach",
     "bene.rauschmayr@mailbox.example", "1975-10-04", kPos, kTuba, -1, 200, "151/176/90335", 0,
     "4081340", "Aushilfe Blech, nur samstags", false},
    {kHerr, "Strasshofer", "Ludwig", "Wiggerl", "Eichenring 11", "84155", "Eschenhofen",
     "wiggerl@mailbox.example", "1968-02-18", kKlar, kSax, -1, 230, "151/160/44019", 0, "4009915",
     "Hat die Band im Mai 2026 verlassen", true},
};

const Musician kStandardLineUp[] = {kKorbinian, kVeronika, kFlorian, kMatthias, kQuirin};

struct SongData {
    const char* title;
    const char* performer;
    const char* key;
    int tempo;
    const char* remarks;
    const char* workNumber;
    const char* composer;
    const char* arranger;
    const char* publisher;
    const char* pf;
};

const SongData kSongs[] = {
    {"Kranichtaler Polka", kBand, "B-Dur", 132, "Opener, Akkordeon zählt ein", "4711203-001",
     "Korbinian Brandl", "", "Edition Talklang", ""},
    {"Sommerwind am Kranichsee", kBand, "F-Dur", 96, "", "4711204-001",
     "Korbinian Brandl, Veronika Stadlmaier", "", "Edition Talklang", ""},
    {"Walzer für Theresa", kBand, "Es-Dur", 84, "langsamer Walzer", "4711205-001",
     "Florian Wimmreuther", "", "Edition Talklang", ""},
    {"Oberwiesbrunner Festmarsch", "Die Haselrieder Buam", "Es-Dur", 116, "Einzug ins Festzelt",
     "1830417-002", "Alois Fürmetz", "Korbinian Brandl", "Verlag Blechwerk Haselried", ""},
    {"Landler aus dem Haselgrund", "Die Haselrieder Buam", "G-Dur", 108, "", "1830421-001",
     "überliefert", "Korbinian Brandl", "Verlag Blechwerk Haselried", ""},
    {"Heimweh nach dem Tal", "Marlene Sommerau", "a-Moll", 72, "Ballade, Vroni singt",
     "6024518-001", "Luise Kammerlander", "", "Silberklang Musikverlag", ""},
    {"Stimmungs-Potpourri Nr. 1", kBand, "C-Dur", 126, "drei Teile zum Schunkeln", "4711230-001",
     "diverse", "Korbinian Brandl", "Edition Talklang", "P"},
    {"Oldie-Potpourri", kBand, "G-Dur", 140, "", "4711231-001", "diverse", "Florian Wimmreuther",
     "Edition Talklang", "P"},
    {"Disco-Fox-Medley", kBand, "D-Dur", 124, "durchgehend, etwa 12 Minuten", "4711232-001",
     "diverse", "Veronika Stadlmaier", "Edition Talklang", "P"},
    {"Lichter über Lindenfeld", "Sandra Velten", "D-Dur", 122, "Disco-Fox", "7354120-001",
     "Marc Ehrenreich", "", "Silberklang Musikverlag", ""},
    {"Wolke sieben über Haselried", "Sandra Velten", "E-Dur", 128, "", "7354121-001",
     "Marc Ehrenreich", "", "Silberklang Musikverlag", ""},
    {"Midnight on Silverlake Road", "The Silverlakes", "A-Dur", 148, "Gitarrensolo", "9120377-001",
     "Jens Marquardt", "", "Tonwiesen Edition", ""},
    {"Boogie im Heustadl", "Tommy Hartwell", "C-Dur", 168, "", "9120380-001", "Tommy Hartwell", "",
     "Tonwiesen Edition", ""},
    {"Cha-Cha am Dorfplatz", kBand, "G-Dur", 120, "", "4711210-001", "Florian Wimmreuther", "",
     "Edition Talklang", ""},
    {"Tango Lindenfeld", kBand, "d-Moll", 64, "", "4711211-001", "Korbinian Brandl", "",
     "Edition Talklang", ""},
    {"Samba de Haselried", "Jojo & die Wellenreiter", "F-Dur", 100, "Percussion vorne",
     "8840162-001", "Rainer Obholzer", "Quirin Hollweck", "Tonwiesen Edition", ""},
    {"Ein Prosit der Kranichtaler", kBand, "B-Dur", 110, "kurze Fanfare zwischen den Titeln",
     "4711240-001", "Korbinian Brandl", "", "Edition Talklang", "F"},
    {"Hochzeitswalzer in As", kBand, "As-Dur", 88, "Eröffnungstanz des Brautpaars", "4711212-001",
     "Korbinian Brandl", "", "Edition Talklang", ""},
    {"Feuerwehr-Galopp", "Die Haselrieder Buam", "F-Dur", 152, "", "1830433-001", "Alois Fürmetz",
     "", "Verlag Blechwerk Haselried", ""},
    {"Jodler vom Kranichstein", "Marlene Sommerau", "C-Dur", 92, "", "6024530-001",
     "Hannes Gschwendtner", "", "Silberklang Musikverlag", ""},
    {"Servus und pfiat eich", kBand, "G-Dur", 76, "Rausschmeißer, immer zuletzt", "4711299-001",
     "Korbinian Brandl, Veronika Stadlmaier", "", "Edition Talklang", ""},
    {"Rosen für die Wirtin", "Die Haselrieder Buam", "D-Dur", 112, "Polka", "1830440-001",
     "Hannes Gschwendtner", "", "Verlag Blechwerk Haselried", ""},
    {"Sternschnuppennacht", "Sandra Velten", "h-Moll", 118, "", "7354133-001", "Luise Kammerlander",
     "", "Silberklang Musikverlag", ""},
    {"Summer Breeze Shuffle", "The Silverlakes", "E-Dur", 104, "Shuffle mit Sax-Solo",
     "9120391-001", "Jens Marquardt", "", "Tonwiesen Edition", ""},
    {"Partyzug nach Moosreuth", "Jojo & die Wellenreiter", "A-Dur", 136, "Polonaise", "8840170-001",
     "Rainer Obholzer", "", "Tonwiesen Edition", ""},
    // No tempo (played freely) and no work number known yet.
    {"Ständchen zum Geburtstag", kBand, "F-Dur", 0, "nach Ansage, frei im Tempo", "", "überliefert",
     "Veronika Stadlmaier", "", ""},
};

struct HotelData {
    const char* name;
    const char* category;
    const char* street;
    const char* postcode;
    const char* town;
    const char* phone;
    const char* fax;
    const char* email;
    const char* homepage;
    const char* remarks;
};

enum Hotel { kKranichwirt, kSeeblick, kSonnenhang, kBrunnhof };

const HotelData kHotels[] = {
    {"Landhotel Kranichwirt", "***", "Dorfplatz 1", "84187", "Kranichtal", "089 99998 201",
     "089 99998 209", "zimmer@kranichwirt.example", "www.kranichwirt.example",
     "EZ 59 €, DZ 89 € inkl. Frühstück; 24 Betten; Parkplatz für Anhänger"},
    {"Hotel Seeblick", "****", "Seepromenade 8", "84209", "Lindenfeld am See", "089 99998 211",
     "089 99998 219", "empfang@seeblick-lindenfeld.example", "www.seeblick-lindenfeld.example",
     "DZ ab 119 €; Sauna; Anreise nach Mitternacht mit Schlüsselkarte"},
    {"Pension Sonnenhang", "Pension", "Sonnenhang 5", "84163", "Oberwiesbrunn", "089 99998 221", "",
     "sonnenhang@mailbox.example", "", "38 bis 52 € pro Person; nur Barzahlung"},
    {"Gästehaus Brunnhof", "**", "Brunnhofweg 2", "84192", "Haselried", "089 99998 231", "",
     "brunnhof@mailbox.example", "www.brunnhof-haselried.example",
     "Ferienwohnungen für 4 bis 6 Personen; Schlüsselbox an der Haustür"},
};

struct FirmKeys {
    std::int32_t id = 0;
    std::vector<std::int32_t> contacts;
    std::vector<std::int32_t> vehicles;
};

struct ArticleKeys {
    std::int32_t id;
    QString name;
    QString group;
};

struct DemoEvent {
    int year, month, day, hour, minute;
    int showMinutes;
    int setupMinutes;
    const char* kind;
    const char* venue;
    const char* street;
    const char* postcode;
    const char* town;
    float fee;
    bool feeIncludesVat;
    bool paid;
    float extraHour;
    const char* agreement;
    int status;
};

// Event status (column Status of T_Event)
constexpr int kAngefragt = 0;
constexpr int kReserviert = 1;
constexpr int kGebucht = 2;
constexpr int kAbgesagt = 3;
constexpr int kFakturiert = 4;

class DemoWriter {
public:
    // `copy` counts the copies of the example from 1: later copies leave out what a program
    // directory holds once (the band, the base data, the standard line-up) and number the names
    // that must be unique.
    DemoWriter(CDatabase& db, int copy)
        : m_db(db), m_copy(copy), m_user(db), m_baseData(db), m_instrumentSet(db),
          m_musicianSet(db), m_firmSet(db), m_contactSet(db), m_vehicleSet(db), m_hotelSet(db),
          m_songSet(db), m_groupSet(db), m_articleSet(db), m_gemaSet(db), m_eventSet(db),
          m_lineUpSet(db), m_bookedFirmSet(db), m_transportSet(db), m_setListSet(db),
          m_setListSongSet(db), m_statusSet(db), m_financeSet(db), m_salesSet(db) {
        for (CRecordset* set : std::initializer_list<CRecordset*>{
                 &m_user,       &m_baseData,       &m_instrumentSet, &m_musicianSet,
                 &m_firmSet,    &m_contactSet,     &m_vehicleSet,    &m_hotelSet,
                 &m_songSet,    &m_groupSet,       &m_articleSet,    &m_gemaSet,
                 &m_eventSet,   &m_lineUpSet,      &m_bookedFirmSet, &m_transportSet,
                 &m_setListSet, &m_setListSongSet, &m_statusSet,     &m_financeSet,
                 &m_salesSet})
            openForAdding(*set);
    }

    void write() {
        if (m_copy == 1)
            writeBand();
        writeMusicians();
        writeFirms();
        writeHotels();
        writeSongs();
        writeArticles();
        writeGemaOffices();
        writeEvents();
    }

private:
    void writeBand();
    void writeMusicians();
    void writeFirms();
    void writeHotels();
    void writeSongs();
    void writeArticles();
    void writeGemaOffices();
    void writeEvents();

    NewRow business(int kind, const char* name, const char* street, const char* postcode,
                    const char* town, const char* phone, const char* email);
    NewRow person(int kind, int salutation, const char* surname, const char* firstName,
                  const QDateTime& birthday, const char* street, const char* postcode,
                  const char* town, const char* mobile, const char* email);
    void addContact(FirmKeys& firm, int kind, int salutation, const char* surname,
                    const char* firstName, const char* role, const char* phone, const char* mobile,
                    const char* email, const QDateTime& birthday = {});
    void addVehicle(FirmKeys& firm, const char* type, const char* plate, int seats, double tonnes,
                    bool towBar, const char* remark);

    std::int32_t addEvent(const DemoEvent& event, const FirmKeys& organiser, std::int32_t contact);
    void addLineUp(std::int32_t event, std::initializer_list<Musician> musicians);
    void bookFirm(std::int32_t event, int kind, const FirmKeys* firm, std::int32_t contact,
                  const char* remark);
    void addTransport(std::int32_t event, const FirmKeys& firm, std::int32_t vehicle,
                      const char* driver, const char* remark);
    void addRoom(std::int32_t event, Hotel hotel, int room, double price, const QDateTime& arrival,
                 const QDateTime& departure,
                 std::initializer_list<std::pair<int, std::int32_t>> guests);
    void addSetList(std::int32_t event, const char* name,
                    std::initializer_list<std::initializer_list<int>> sets);
    NewRow booking(std::int32_t event, int group, int centre, std::int32_t id, double amount,
                   int vatRate, int method, int against);
    void addMusicianFee(std::int32_t event, Musician musician, double amount, const QDate& paid);
    void addSale(std::int32_t event, int article, int quantity, double price);

    // A name that is unique in one example, made unique across the copies.
    QString numbered(const QString& name) const {
        return m_copy == 1 ? name : QStringLiteral("%1 %2").arg(name).arg(m_copy);
    }

    CDatabase& m_db;
    const int m_copy;
    CSetUser m_user;
    CSetGrunddaten m_baseData;
    CSetInstrumente m_instrumentSet;
    CSetStammMusiker m_musicianSet;
    CSetStammExtFirma m_firmSet;
    CSetStammExtAnsprech m_contactSet;
    CSetStammKfz m_vehicleSet;
    CSetHotel m_hotelSet;
    CSetStammSongliste m_songSet;
    CSetStammArtikelgruppe m_groupSet;
    CSetStammArtikel m_articleSet;
    CSetStammGema m_gemaSet;
    CSetEvent m_eventSet;
    CSetEventBesetzung m_lineUpSet;
    CSetEventExtFirma m_bookedFirmSet;
    CSetEventTransport m_transportSet;
    CSetEventSetliste m_setListSet;
    CSetEventSetlisteSongs m_setListSongSet;
    CSetEventStatus m_statusSet;
    CSetEventFinanzen m_financeSet;
    CSetEventMerchandising m_salesSet;

    std::vector<std::int32_t> m_instruments;
    std::vector<std::int32_t> m_musicians;
    std::vector<std::int32_t> m_hotels;
    std::vector<std::int32_t> m_songs;
    std::vector<ArticleKeys> m_articles;

    // Organisers
    FirmKeys m_trachtenverein, m_festzelt, m_landgasthof, m_gemeinde, m_feuerwehr, m_agentur,
        m_brautpaar;
    // Service firms
    FirmKeys m_tonstudio, m_freelancer, m_backline, m_beschallung, m_licht, m_zellner, m_eichhorn;
};

void DemoWriter::writeBand() {
    NewRow(m_user)
        .text("Benutzer", "chef")
        .text("Band", kBand)
        .text("ArtBesetzung", "Tanzband")
        .text("Name", "Brandl")
        .text("Vorname", "Korbinian")
        .text("Strasse", "Mühlbachweg 7")
        .text("PLZ", "84187")
        .text("Ort", "Kranichtal")
        .text("Tel", "089 99998 100")
        .text("Fax", "089 99998 109")
        .text("Telm", "0171 39200 11")
        .text("Email", "buchung@kranichtaler.example")
        .text("Homepage", "www.kranichtaler.example")
        .store();
    NewRow(m_baseData)
        .text("Waehrungkurz", "€")
        .text("Waehrunglang", "Euro")
        .amount("MWST_Satz1", 19)
        .amount("MWST_Satz2", 7)
        .store();
}

void DemoWriter::writeMusicians() {
    for (const InstrumentData& instrument : kInstruments) {
        m_instruments.push_back(NewRow(m_instrumentSet)
                                    .text("Instrument", instrument.name)
                                    .text("Kurz", instrument.shortName)
                                    .storeKey());
    }
    // One birthday falls a few days after today, so that the birthday reminder has something to
    // show when the program starts. 1988 is a leap year: even 29 February exists in it.
    const QDate soon = QDate::currentDate().addDays(5);
    for (size_t i = 0; i < std::size(kMusicians); ++i) {
        const MusicianData& m = kMusicians[i];
        const QDate birthday = *m.birthday
                                   ? QDate::fromString(QLatin1String(m.birthday), Qt::ISODate)
                                   : QDate(1988, soon.month(), soon.day());
        const BankData& bank = kBanks[m.bank];
        const int number = 120 + static_cast<int>(i);
        NewRow row(m_musicianSet);
        row.number("MAnrede", m.salutation)
            .text("MName", m.surname)
            .text("MVorname", m.firstName)
            .text("MKName", m.stageName)
            .text("MStrasse", m.street)
            .text("MPLZ", m.postcode)
            .text("MOrt", m.town)
            .text("MTel", QStringLiteral("089 99998 %1").arg(number))
            .text("MTelm", QStringLiteral("0171 39200 %1").arg(number - 109))
            .text("Memail", m.email)
            .date("MGeb", QDateTime(birthday, QTime(0, 0), Qt::UTC))
            .amount("MMinGage", m.minimumFee)
            .text("MSteuerNr", m.taxNumber)
            .text("MFinanzamt", "Finanzamt Kranichtal")
            .text("MBank", bank.name)
            .text("MKonto", m.account)
            .text("MBLZ", bank.sortCode)
            .text("Mbemerkungen", m.remarks)
            .flag("fDeleted", m.deleted);
        const std::array<int, 3> instruments = {m.instrument1, m.instrument2, m.instrument3};
        static const char* const instrumentColumns[] = {"MInstID1", "MInstID2", "MInstID3",
                                                        "MInstID4", "MInstID5", "MInstID6"};
        // A slot without an instrument stays null, as the musician form leaves it.
        for (size_t slot = 0; slot < instruments.size(); ++slot) {
            if (instruments[slot] >= 0)
                row.number(instrumentColumns[slot], m_instruments[instruments[slot]]);
        }
        m_musicians.push_back(row.storeKey());
    }
    // The standard line-up belongs to the placeholder event 0.
    if (m_copy > 1)
        return;
    for (Musician musician : kStandardLineUp)
        NewRow(m_lineUpSet).number("EventID", 0).number("MusikerID", m_musicians[musician]).store();
}

void DemoWriter::addContact(FirmKeys& firm, int kind, int salutation, const char* surname,
                            const char* firstName, const char* role, const char* phone,
                            const char* mobile, const char* email, const QDateTime& birthday) {
    NewRow row(m_contactSet);
    row.number("ExtID", firm.id)
        .number("Art", kind)
        .number("APAnrede", salutation)
        .text("APName", surname)
        .text("APVorname", firstName)
        .text("APFunktion", role)
        .text("APTel", phone)
        .text("APTelm", mobile)
        .text("APEmail", email);
    if (birthday.isValid())
        row.date("APGebDate", birthday);
    firm.contacts.push_back(row.storeKey());
}

void DemoWriter::addVehicle(FirmKeys& firm, const char* type, const char* plate, int seats,
                            double tonnes, bool towBar, const char* remark) {
    NewRow row(m_vehicleSet);
    row.number("Art", kCarHire)
        .number("ExtID", firm.id)
        .text("Typ", type)
        .text("Kennzeichen", plate)
        .number("Sitzpl", seats)
        .amount("ZulGewicht", tonnes)
        .flag("Kupplung", towBar)
        .text("Bemerkung", remark);
    firm.vehicles.push_back(row.storeKey());
}

NewRow DemoWriter::business(int kind, const char* name, const char* street, const char* postcode,
                            const char* town, const char* phone, const char* email) {
    NewRow row(m_firmSet);
    row.number("Art", kind)
        .text("Firma", name)
        .text("Strasse", street)
        .text("PLZ", postcode)
        .text("Ort", town)
        .text("Tel", phone)
        .text("Email", email);
    return row;
}

NewRow DemoWriter::person(int kind, int salutation, const char* surname, const char* firstName,
                          const QDateTime& birthday, const char* street, const char* postcode,
                          const char* town, const char* mobile, const char* email) {
    NewRow row(m_firmSet);
    row.number("Art", kind)
        .flag("fPrivat", true)
        .number("Anrede", salutation)
        .text("Name", surname)
        .text("Vorname", firstName)
        .date("GebDate", birthday)
        .text("Strasse", street)
        .text("PLZ", postcode)
        .text("Ort", town)
        .text("Telm", mobile)
        .text("Email", email);
    return row;
}

void DemoWriter::writeFirms() {
    // Organisers
    m_trachtenverein.id =
        business(kOrganiser, "Trachtenverein Edelweiß Kranichtal e.V.", "Vereinsweg 3", "84187",
                 "Kranichtal", "089 99998 301", "vorstand@edelweiss-kranichtal.example")
            .text("Homepage", "www.edelweiss-kranichtal.example")
            .text("Bemerkungen", "Faschingsball jedes Jahr im Februar")
            .storeKey();
    addContact(m_trachtenverein, kOrganiser, kHerr, "Huberbauer", "Josef", "1. Vorstand",
               "089 99998 302", "0171 39200 31", "josef.huberbauer@mailbox.example",
               at(1961, 4, 12));
    addContact(m_trachtenverein, kOrganiser, kFrau, "Lechner", "Maria", "Kassiererin",
               "089 99998 303", "", "kasse@edelweiss-kranichtal.example");

    m_festzelt.id =
        business(kOrganiser, "Festzeltbetrieb Brunnhuber GmbH", "Am Festplatz 1", "84163",
                 "Oberwiesbrunn", "089 99998 311", "info@festzelt-brunnhuber.example")
            .text("Fax", "089 99998 319")
            .text("Homepage", "www.festzelt-brunnhuber.example")
            .text("SteuerNr", "151/120/88014")
            .text("Finanzamt", "Finanzamt Kranichtal")
            .storeKey();
    addContact(m_festzelt, kOrganiser, kHerr, "Brunnhuber", "Anton", "Geschäftsführer",
               "089 99998 312", "0171 39200 32", "anton@festzelt-brunnhuber.example");
    addContact(m_festzelt, kOrganiser, kFrau, "Reiter", "Sabine", "Disposition", "089 99998 313",
               "", "dispo@festzelt-brunnhuber.example", at(1990, 12, 1));

    m_landgasthof.id = business(kOrganiser, "Landgasthof Pfisterwirt", "Seestraße 14", "84209",
                                "Lindenfeld am See", "089 99998 321", "wirtin@pfisterwirt.example")
                           .text("Bemerkungen", "Saal für 250 Gäste, Bühne 6 × 4 m")
                           .storeKey();
    addContact(m_landgasthof, kOrganiser, kFrau, "Pfister", "Rosemarie", "Wirtin", "089 99998 321",
               "0171 39200 33", "wirtin@pfisterwirt.example");

    m_gemeinde.id =
        business(kOrganiser, "Gemeinde Haselried, Kultur und Tourismus", "Rathausplatz 1", "84192",
                 "Haselried", "089 99998 331", "kultur@haselried.example")
            .text("Fax", "089 99998 339")
            .text("Homepage", "www.haselried.example")
            .storeKey();
    addContact(m_gemeinde, kOrganiser, kHerr, "Grasegger", "Helmut", "Kulturreferent",
               "089 99998 332", "", "h.grasegger@haselried.example");

    m_feuerwehr.id =
        business(kOrganiser, "Freiwillige Feuerwehr Birkenöd e.V.", "Gerätehausstraße 2", "84175",
                 "Birkenöd", "", "kommando@ffw-birkenoed.example")
            .storeKey();
    addContact(m_feuerwehr, kOrganiser, kHerr, "Stinglhammer", "Markus", "Kommandant", "",
               "0171 39200 34", "kommando@ffw-birkenoed.example", at(1977, 12, 15));

    m_agentur.id = business(kOrganiser, "Sonnklang Events GmbH", "Gewerbering 17", "84217",
                            "Moosreuth", "089 99998 341", "booking@sonnklang-events.example")
                       .text("Fax", "089 99998 349")
                       .text("Homepage", "www.sonnklang-events.example")
                       .text("SteuerNr", "151/133/60271")
                       .text("Finanzamt", "Finanzamt Kranichtal")
                       .text("Bemerkungen", "Zahlt nur gegen Rechnung mit ausgewiesener MwSt., "
                                            "Zahlungsziel 30 Tage")
                       .storeKey();
    addContact(m_agentur, kOrganiser, kFrau, "Wiesmüller", "Jana", "Projektleitung",
               "089 99998 342", "0171 39200 35", "jana.wiesmueller@sonnklang-events.example");
    addContact(m_agentur, kOrganiser, kHerr, "Dorfner", "Kevin", "Technische Leitung",
               "089 99998 343", "0171 39200 36", "technik@sonnklang-events.example");

    // A bride who books the band for her wedding herself: a private person, no firm name.
    m_brautpaar.id =
        person(kOrganiser, kFrau, "Obermaier", "Stefanie", at(1994, 9, 2), "Wiesengrund 6", "84231",
               "Tannach", "0171 39200 37", "steffi.obermaier@mailbox.example")
            .text("Bemerkungen", "Hochzeit mit Lukas Freundorfer")
            .storeKey();
    addContact(m_brautpaar, kOrganiser, kHerr, "Freundorfer", "Lukas", "Bräutigam", "",
               "0171 39200 38", "lukas.freundorfer@mailbox.example");

    // Technicians, backline, PA and light hire
    m_tonstudio.id = business(kTechnician, "Tonstudio Hallgruber", "Mühlenweg 21", "84155",
                              "Eschenhofen", "089 99998 401", "studio@hallgruber.example")
                         .text("Homepage", "www.hallgruber.example")
                         .text("SteuerNr", "151/140/27754")
                         .text("Finanzamt", "Finanzamt Kranichtal")
                         .text("Bank", kBanks[0].name)
                         .text("Konto", "4100522")
                         .text("BLZ", kBanks[0].sortCode)
                         .storeKey();
    addContact(m_tonstudio, kTechnician, kHerr, "Hallgruber", "Bernhard", "Inhaber, Tontechniker",
               "089 99998 401", "0171 39200 41", "bernhard@hallgruber.example", at(1981, 12, 20));

    m_freelancer.id =
        person(kTechnician, kHerr, "Wenger", "Tobias", at(1992, 6, 30), "Bahnhofstraße 40", "84192",
               "Haselried", "0171 39200 42", "tobi.wenger@mailbox.example")
            .text("Bemerkungen", "Freiberuflich am Mischpult, eigenes Digitalpult")
            .storeKey();

    m_backline.id =
        business(kBackliner, "Bühnen- und Backlineservice Kastl", "Industriestraße 9", "84187",
                 "Kranichtal", "089 99998 411", "service@backline-kastl.example")
            .storeKey();
    addContact(m_backline, kBackliner, kHerr, "Kastl", "Ferdinand", "Inhaber", "089 99998 411",
               "0171 39200 43", "ferdl@backline-kastl.example");
    addContact(m_backline, kBackliner, kHerr, "Kastl", "Nico", "Bühnenhelfer", "", "0171 39200 44",
               "nico@backline-kastl.example");

    m_beschallung.id =
        business(kPaHire, "Beschallungstechnik Südwind GmbH", "Gewerbering 4", "84217", "Moosreuth",
                 "089 99998 421", "vermietung@suedwind-pa.example")
            .text("Fax", "089 99998 429")
            .text("Homepage", "www.suedwind-pa.example")
            .storeKey();
    addContact(m_beschallung, kPaHire, kFrau, "Voggenreiter", "Carina", "Vermietung",
               "089 99998 422", "", "carina@suedwind-pa.example");

    // A PA hire the band no longer works with: deleted, and used by no event.
    FirmKeys former;
    former.id = business(kPaHire, "Klangkiste Verleih OHG", "Lagerweg 1", "84155", "Eschenhofen",
                         "089 99998 431", "")
                    .text("Bemerkungen", "Geschäft aufgegeben")
                    .flag("fDeleted", true)
                    .storeKey();
    addContact(former, kPaHire, kHerr, "Sattlberger", "Rudi", "Inhaber", "089 99998 431", "", "");

    m_licht.id = business(kLightHire, "Lichtwerk Haselried", "Hallenstraße 12", "84192",
                          "Haselried", "089 99998 441", "info@lichtwerk-haselried.example")
                     .storeKey();
    addContact(m_licht, kLightHire, kHerr, "Scharrer", "Dominik", "Lichttechnik", "089 99998 442",
               "0171 39200 45", "dominik@lichtwerk-haselried.example");

    // Car hire with their vehicles
    m_zellner.id = business(kCarHire, "Autovermietung Zellner KG", "Hauptstraße 48", "84187",
                            "Kranichtal", "089 99998 451", "mieten@zellner-kg.example")
                       .text("Fax", "089 99998 459")
                       .storeKey();
    addContact(m_zellner, kCarHire, kFrau, "Zellner", "Gabriele", "Vermietung", "089 99998 451", "",
               "gabi@zellner-kg.example");
    addVehicle(m_zellner, "Kleinbus, 9 Sitze", "KRT-ZA 901", 9, 3.0, true,
               "89 € pro Tag, 300 km frei");
    addVehicle(m_zellner, "Kastenwagen", "KRT-ZA 935", 3, 3.5, true,
               "119 € pro Tag, Laderaum 11 m³");
    addVehicle(m_zellner, "Tandem-Planenanhänger", "KRT-ZA 72", 0, 2.0, false, "35 € pro Tag");

    m_eichhorn.id = business(kCarHire, "Transporte Eichhorn GmbH", "Speditionsweg 3", "84192",
                             "Haselried", "089 99998 461", "dispo@eichhorn-transporte.example")
                        .storeKey();
    addContact(m_eichhorn, kCarHire, kHerr, "Eichhorn", "Wolfgang", "Disposition", "089 99998 461",
               "0171 39200 46", "dispo@eichhorn-transporte.example");
    addVehicle(m_eichhorn, "Kleinbus, 9 Sitze, Automatik", "HSR-E 412", 9, 3.2, true,
               "95 € pro Tag");
    addVehicle(m_eichhorn, "Koffer-Lkw mit Ladebordwand", "HSR-E 750", 3, 7.5, false,
               "179 € pro Tag; Führerschein C1 nötig");
}

void DemoWriter::writeHotels() {
    for (const HotelData& h : kHotels) {
        m_hotels.push_back(NewRow(m_hotelSet)
                               .text("Name", h.name)
                               .text("Kategorie", h.category)
                               .text("Strasse", h.street)
                               .text("PLZ", h.postcode)
                               .text("Ort", h.town)
                               .text("Tel", h.phone)
                               .text("Fax", h.fax)
                               .text("Email", h.email)
                               .text("Homepage", h.homepage)
                               .text("Bemerkungen", h.remarks)
                               .storeKey());
    }
}

void DemoWriter::writeSongs() {
    for (const SongData& s : kSongs) {
        NewRow row(m_songSet);
        row.text("Titel", s.title)
            .text("Interpret", s.performer)
            .text("Tonart", s.key)
            .text("Bemerkungen", s.remarks)
            .text("GemaWerkNr", s.workNumber)
            .text("Komponist", s.composer)
            .text("Bearbeiter", s.arranger)
            .text("Verleger", s.publisher)
            .text("pf", s.pf);
        // A song without a tempo keeps it null, as the song form stores it.
        if (s.tempo >= 1)
            row.number("Tempo", s.tempo);
        m_songs.push_back(row.storeKey());
    }
}

void DemoWriter::writeArticles() {
    const QString records = numbered(QStringLiteral("TONTRÄGER"));
    const QString clothes = numbered(QStringLiteral("TEXTIL"));
    const QString other = numbered(QStringLiteral("SONSTIGES"));
    NewRow(m_groupSet)
        .text("Artikelgruppe", records)
        .text("Beschreibung", "CDs und Schallplatten der Band")
        .number("Kategorie", 0)
        .store();
    NewRow(m_groupSet)
        .text("Artikelgruppe", clothes)
        .text("Beschreibung", "T-Shirts, Kapuzenpullis und Mützen")
        .number("Kategorie", 1)
        .store();
    NewRow(m_groupSet)
        .text("Artikelgruppe", other)
        .text("Beschreibung", "Buttons, Aufkleber und Kleinkram")
        .number("Kategorie", 1)
        .store();

    struct ArticleData {
        const QString& group;
        const char* name;
        const char* description;
        std::array<float, 4> prices; // 0: none
        const char* photo;
    };
    const ArticleData articles[] = {
        {records, "CD Sommerwind am Kranichsee", "Studioalbum, 14 Titel", {15, 12, 10, 0}, ""},
        {records,
         "CD Tanz durch die Nacht (live)",
         "Live-Mitschnitt vom Volksfest",
         {15, 12, 0, 0},
         ""},
        {records,
         "LP Kranichtaler Polka",
         "Schallplatte, 180 g, mit Download-Code",
         {24, 20, 0, 0},
         ""},
        {clothes, "T-Shirt Bandlogo", "schwarz, Größen S bis XXL", {20, 18, 15, 0}, "tshirt.jpg"},
        {clothes, "Kapuzenpulli Bandlogo", "dunkelgrün, Größen S bis XXL", {39, 35, 0, 0}, ""},
        {other, "Button-Set", "drei Anstecker mit Bandlogo", {4.5f, 3.5f, 0, 0}, ""},
        {other, "Autogrammkarte", "signiert, Postkartenformat", {2, 1.5f, 1, 0}, ""},
        {other, "Schlüsselanhänger", "Kranich aus Messing\nmit Gravur", {8, 6.5f, 0, 0}, ""},
    };
    for (const ArticleData& a : articles) {
        NewRow row(m_articleSet);
        row.text("Artikelgruppe", a.group)
            .text("Artikel", a.name)
            .text("Artikelbeschreibung", a.description)
            .text("Fotopfad", a.photo);
        if (&a.group == &records)
            row.text("Label", "Edition Talklang").text("Interpret", kBand);
        static const char* const priceColumns[] = {"Preis1", "Preis2", "Preis3", "Preis4"};
        for (size_t i = 0; i < 4; ++i) {
            if (a.prices[i] > 0)
                row.amount(priceColumns[i], a.prices[i]);
        }
        m_articles.push_back({row.storeKey(), QString::fromUtf8(a.name), a.group});
    }
}

void DemoWriter::writeGemaOffices() {
    struct OfficeData {
        const char* name;
        const char* street;
        const char* postcode;
        const char* town;
        const char* phone1;
        const char* phone2;
        const char* fax;
        const char* email;
        const char* area;
    };
    const OfficeData offices[] = {
        {"Bezirksdirektion Süd", "Notenbogen 12", "80999", "München", "089 99998 510",
         "089 99998 511", "089 99998 519", "bd-sued@gema.example",
         "Bayern\nBaden-Württemberg (Regierungsbezirke Tübingen und Freiburg)"},
        {"Bezirksdirektion Mitte", "Taktstraße 5", "60599", "Frankfurt am Main", "069 90009 510",
         "069 90009 511", "069 90009 519", "bd-mitte@gema.example",
         "Hessen\nRheinland-Pfalz\nSaarland"},
        {"Bezirksdirektion Nord", "Am Kontrapunkt 3", "20999", "Hamburg", "040 66969 510",
         "040 66969 511", "040 66969 519", "bd-nord@gema.example",
         "Hamburg\nSchleswig-Holstein\nNiedersachsen\nBremen"},
    };
    for (const OfficeData& o : offices) {
        NewRow(m_gemaSet)
            .text("Bezirksdirektion", numbered(QString::fromUtf8(o.name)))
            .text("Strasse", o.street)
            .text("PLZ", o.postcode)
            .text("Ort", o.town)
            .text("Tel1", o.phone1)
            .text("Tel2", o.phone2)
            .text("Fax1", o.fax)
            .text("Email", o.email)
            .text("Homepage", "www.gema.example")
            .text("ZustBereich", o.area)
            .store();
    }
}

std::int32_t DemoWriter::addEvent(const DemoEvent& e, const FirmKeys& organiser,
                                  std::int32_t contact) {
    NewRow row(m_eventSet);
    row.text("EArt", e.kind)
        .text("ELocation", e.venue)
        .text("EStrasse", e.street)
        .text("EPLZ", e.postcode)
        .text("EOrt", e.town)
        .amount("EGageVereinb", e.fee)
        .flag("EfMWST", e.feeIncludesVat)
        .text("EVereinbarung", e.agreement)
        .number("Status", e.status)
        .number("VeranstalterID", organiser.id)
        .number("VAnsprechID", contact);
    if (e.paid)
        row.amount("EGageBezahlt", e.fee);
    if (e.extraHour > 0)
        row.amount("EVerlStd", e.extraHour);
    setTimePlan(row, at(e.year, e.month, e.day, e.hour, e.minute), e.showMinutes, e.setupMinutes);
    return row.storeKey();
}

void DemoWriter::addLineUp(std::int32_t event, std::initializer_list<Musician> musicians) {
    for (Musician musician : musicians) {
        NewRow(m_lineUpSet)
            .number("EventID", event)
            .number("MusikerID", m_musicians[musician])
            .store();
    }
}

void DemoWriter::bookFirm(std::int32_t event, int kind, const FirmKeys* firm, std::int32_t contact,
                          const char* remark) {
    NewRow row(m_bookedFirmSet);
    row.number("EventID", event).number("Art", kind).text("Bemerkungen", remark);
    if (firm) {
        row.number("ExtID", firm->id);
        if (contact > 0)
            row.number("AnsprechID", contact);
        if (kind == kPaHire || kind == kLightHire)
            row.flag("bVorhanden", false);
    } else {
        // The venue has the equipment itself.
        row.flag("bVorhanden", true);
    }
    row.store();
}

void DemoWriter::addTransport(std::int32_t event, const FirmKeys& firm, std::int32_t vehicle,
                              const char* driver, const char* remark) {
    NewRow(m_transportSet)
        .number("EventID", event)
        .number("VerleiherID", firm.id)
        .number("KfzID", vehicle)
        .text("Fahrer", driver)
        .text("Bemerkungen", remark)
        .store();
}

// The guests are booked as the reservation form books them: each stay with the room's price,
// the room's row and the overnight booking following through the overnight plan.
void DemoWriter::addRoom(std::int32_t event, Hotel hotel, int room, double price,
                         const QDateTime& arrival, const QDateTime& departure,
                         std::initializer_list<std::pair<int, std::int32_t>> guests) {
    for (const auto& [function, person] : guests) {
        OvernightPlan::StayKey key;
        key.eventId = event;
        key.person = person;
        key.function = function;
        key.arrival = arrival;
        OvernightPlan::bookStay(m_db, key, OvernightPlan::Room{m_hotels[hotel], room}, departure,
                                price);
    }
}

// Copies songs of the song list into a new set list of the event, set by set.
void DemoWriter::addSetList(std::int32_t event, const char* name,
                            std::initializer_list<std::initializer_list<int>> sets) {
    const std::int32_t setList =
        NewRow(m_setListSet).number("EventID", event).text("Bezeichnung", name).storeKey();
    CSetStammSongliste song(m_db);
    int setNumber = 0;
    for (const std::initializer_list<int>& set : sets) {
        ++setNumber;
        int position = 0;
        for (int index : set) {
            song.open(QStringLiteral("[SongID]=%1").arg(m_songs[index]));
            NewRow row(m_setListSongSet);
            row.number("SetlisteID", setList)
                .number("SetNr", setNumber)
                .number("LfdNr", ++position)
                .text("Titel", song.getText("Titel"))
                .text("Interpret", song.getText("Interpret"))
                .text("Tonart", song.getText("Tonart"))
                .text("Bemerkung", song.getText("Bemerkungen"))
                .text("GemaWerkNr", song.getText("GemaWerkNr"))
                .text("Komponist", song.getText("Komponist"))
                .text("Bearbeiter", song.getText("Bearbeiter"))
                .text("Verleger", song.getText("Verleger"))
                .text("pf", song.getText("pf"));
            if (!song.isNull("Tempo"))
                row.number("Tempo", song.getLong("Tempo"));
            row.store();
        }
    }
}

// A booking whose amount includes VAT at rate 1 or 2 of the base data.
NewRow DemoWriter::booking(std::int32_t event, int group, int centre, std::int32_t id,
                           double amount, int vatRate, int method, int against) {
    NewRow row(m_financeSet);
    row.number("EventID", event)
        .number("Kostengruppe", group)
        .number("Kostenstelle", centre)
        .number("ID", id)
        .amount("Auszahlung", amount)
        .number("fMWST", 1)
        .number("MwSt_Satz", vatRate)
        .number("Zahlungsart", method)
        .number("ZahlungGegen", against);
    return row;
}

// Musicians are paid their fee net, against a receipt.
void DemoWriter::addMusicianFee(std::int32_t event, Musician musician, double amount,
                                const QDate& paid) {
    booking(event, 1, 10, m_musicians[musician], amount, 1, kTransfer, kAgainstReceipt)
        .number("fMWST", 0)
        .date("ZDatum", QDateTime(paid, QTime(0, 0), Qt::UTC))
        .store();
}

void DemoWriter::addSale(std::int32_t event, int article, int quantity, double price) {
    const ArticleKeys& a = m_articles[static_cast<size_t>(article)];
    NewRow(m_salesSet)
        .number("EventID", event)
        .number("ArtikelID", a.id)
        .text("Artikel", a.name)
        .text("Artikelgruppe", a.group)
        .number("Menge", quantity)
        .amount("Preis", price)
        .store();
}

void DemoWriter::writeEvents() {
    const char* const dinner = "Essen und Getränke für die Band frei";

    // 2026: a carnival ball, invoiced
    const std::int32_t fasching =
        addEvent({2026, 1, 17, 20, 0, 300, 150, "Faschingsball", "Festhalle Kranichtal",
                  "Hallenweg 2", "84187", "Kranichtal", 2800, true, true, 250,
                  "Kostümpflicht auch für die Band. Essen und Getränke frei.", kFakturiert},
                 m_trachtenverein, m_trachtenverein.contacts[0]);
    addStatus(m_statusSet, fasching, {2, 2, 2, 2, 2, 2, 0, 2, 2, 0, 0, 0, 0, 1});
    addLineUp(fasching, {kKorbinian, kVeronika, kFlorian, kMatthias, kQuirin});
    bookFirm(fasching, kTechnician, &m_tonstudio, m_tonstudio.contacts[0], "");
    bookFirm(fasching, kPaHire, nullptr, 0, "PA der Festhalle");
    bookFirm(fasching, kLightHire, nullptr, 0, "");
    addSetList(fasching, "Faschingsball_17.01.26", {{0, 6, 8, 9, 11}, {7, 24, 12, 16, 20}});
    for (Musician m : {kKorbinian, kVeronika, kFlorian, kMatthias, kQuirin})
        addMusicianFee(fasching, m, kMusicians[m].minimumFee, QDate(2026, 1, 23));
    addSale(fasching, 0, 7, 15);
    addSale(fasching, 3, 4, 20);

    // A wedding, booked by the bride herself
    const std::int32_t hochzeit = addEvent(
        {2026, 3, 28, 18, 0, 480, 120, "Hochzeit", "Landgasthof Pfisterwirt, Saal", "Seestraße 14",
         "84209", "Lindenfeld am See", 3200, false, true, 300,
         "Eröffnungstanz: Hochzeitswalzer in As. Kein Auftritt während der Reden.", kFakturiert},
        m_brautpaar, m_brautpaar.contacts[0]);
    addLineUp(hochzeit, {kKorbinian, kVeronika, kFlorian, kMatthias, kQuirin, kLudwig});

    // A May Day morning concert: the former clarinettist played here, so he stays on file.
    const std::int32_t maitanz = addEvent(
        {2026, 5, 1, 10, 30, 240, 90, "Maitanz / Frühschoppen", "Maibaumplatz", "Rathausplatz",
         "84192", "Haselried", 1500, true, true, 0, "Bei Regen im Bürgersaal nebenan", kFakturiert},
        m_gemeinde, m_gemeinde.contacts[0]);
    addLineUp(maitanz, {kKorbinian, kFlorian, kMatthias, kQuirin, kLudwig});
    addStatus(m_statusSet, maitanz, {2, 1, 0, 2, 0, 0, 0, 1, 2, 0, 0, 0, 0, 0});

    addEvent({2026, 6, 20, 19, 30, 300, 150, "Sommernachtsfest", "Seebühne Lindenfeld",
              "Seepromenade", "84209", "Lindenfeld am See", 3600, true, false, 0,
              "Abgesagt wegen Unwetterwarnung; 30 % Ausfallhonorar vereinbart", kAbgesagt},
             m_agentur, m_agentur.contacts[0]);

    // The big summer fair, planned through to the last detail
    const std::int32_t volksfest =
        addEvent({2026, 8, 15, 19, 0, 300, 180, "Volksfest", "Festzelt am Volksfestplatz",
                  "Am Festplatz 1", "84163", "Oberwiesbrunn", 4800, true, true, 400,
                  "Drei Sets mit je 20 Minuten Pause. Bühne 10 × 6 m, Strom 63 A. "
                  "Essen und Getränke für die Band frei.",
                  kFakturiert},
                 m_festzelt, m_festzelt.contacts[0]);
    addStatus(m_statusSet, volksfest, {2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2});
    addLineUp(volksfest, {kKorbinian, kVeronika, kFlorian, kMatthias, kQuirin, kTheresa});
    bookFirm(volksfest, kTechnician, &m_tonstudio, m_tonstudio.contacts[0],
             "Mischpult und Monitor; kommt zum Aufbau");
    bookFirm(volksfest, kBackliner, &m_backline, m_backline.contacts[0],
             "Aufbau und Abbau, Drum-Riser");
    bookFirm(volksfest, kPaHire, &m_beschallung, m_beschallung.contacts[0],
             "Line-Array 2 × 4 kW, 6 Monitorwege, Funkstrecken für Gesang");
    bookFirm(volksfest, kLightHire, nullptr, 0, "Lichtanlage des Festwirts");
    addTransport(volksfest, m_zellner, m_zellner.vehicles[0], "Florian Wimmreuther",
                 "Abfahrt 13:00 Uhr am Proberaum");
    addTransport(volksfest, m_eichhorn, m_eichhorn.vehicles[1], "Ferdinand Kastl",
                 "Backline und Instrumente");
    {
        const QDateTime arrival = at(2026, 8, 15, 14, 0);
        const QDateTime departure = at(2026, 8, 16, 11, 0);
        const auto musician = [this](Musician m) {
            return std::pair<int, std::int32_t>(kGuestMusician, m_musicians[m]);
        };
        addRoom(volksfest, kSonnenhang, 1, 52, arrival, departure,
                {musician(kFlorian), musician(kMatthias)});
        addRoom(volksfest, kSonnenhang, 2, 52, arrival, departure,
                {musician(kKorbinian), musician(kQuirin)});
        addRoom(volksfest, kSonnenhang, 3, 38, arrival, departure, {musician(kVeronika)});
        addRoom(volksfest, kSonnenhang, 4, 38, arrival, departure, {musician(kTheresa)});
        addRoom(volksfest, kSonnenhang, 5, 40, arrival, departure,
                {{kGuestTechnician, m_tonstudio.id}});
    }
    addSetList(volksfest, "Volksfest_15.08.26",
               {{0, 3, 4, 21, 18, 13}, {6, 9, 10, 1, 2, 11}, {8, 12, 15, 24, 16, 20}});
    const QDate volksfestPaid(2026, 8, 21);
    for (Musician m : {kKorbinian, kVeronika, kFlorian, kMatthias, kQuirin, kTheresa})
        addMusicianFee(volksfest, m, kMusicians[m].minimumFee + 100, volksfestPaid);
    const QDateTime invoiced = at(2026, 8, 17);
    const QDateTime settled = at(2026, 8, 28);
    const QDateTime showDay = at(2026, 8, 15);
    const QDateTime nextDay = at(2026, 8, 16);
    booking(volksfest, 1, 12, m_tonstudio.id, 450, 1, kTransfer, kAgainstInvoice)
        .text("RechnungNr", "HG-2026-118")
        .date("RDatum", invoiced)
        .date("ZDatum", settled)
        .store();
    booking(volksfest, 1, 11, m_backline.id, 280, 1, kTransfer, kAgainstInvoice)
        .text("RechnungNr", "K-0815")
        .date("RDatum", invoiced)
        .date("ZDatum", settled)
        .store();
    booking(volksfest, 2, 13, m_beschallung.id, 950, 1, kTransfer, kAgainstInvoice)
        .text("RechnungNr", "SW-26-0412")
        .date("RDatum", invoiced)
        .date("ZDatum", settled)
        .store();
    // Transport: the rent and the fuel of the bus, the rent of the lorry
    booking(volksfest, 4, 15, m_zellner.vehicles[0], 89, 1, kCash, kAgainstInvoice)
        .number("Kostenart", 1)
        .text("RechnungNr", "Z-4471")
        .date("RDatum", nextDay)
        .date("ZDatum", nextDay)
        .store();
    booking(volksfest, 4, 15, m_zellner.vehicles[0], 74.3, 1, kCash, kAgainstReceipt)
        .number("Kostenart", 2)
        .date("ZDatum", nextDay)
        .store();
    booking(volksfest, 4, 15, m_eichhorn.vehicles[1], 179, 1, kTransfer, kAgainstInvoice)
        .number("Kostenart", 1)
        .text("RechnungNr", "E-26-233")
        .date("RDatum", invoiced)
        .date("ZDatum", settled)
        .store();
    // The overnight booking holds what the rooms cost, as the overnight cost form stores it; the
    // band pays them.
    NewRow(m_financeSet)
        .number("EventID", volksfest)
        .number("Kostengruppe", 5)
        .number("Kostenstelle", 16)
        .number("ID", 0)
        .amount("Auszahlung", Finance::overnightTotal(m_db, volksfest))
        .number("fMWST", 1)
        .number("MwSt_Satz", 1)
        .number("Zahlungsart", kTransfer)
        .number("ZahlungGegen", kAgainstInvoice)
        .flag("fZahltVeranstalter", false)
        .store();
    booking(volksfest, 6, 17, 0, 86.4, 2, kCash, kAgainstReceipt)
        .text("Verwendung", "Brotzeit auf der Anfahrt")
        .text("Empfaenger", "Autohof Lindenfeld")
        .text("RechnungNr", "4471-0815")
        .date("RDatum", showDay)
        .date("ZDatum", showDay)
        .store();
    booking(volksfest, 6, 17, 0, 42.9, 1, kCard, kAgainstReceipt)
        .text("Verwendung", "Gaffa-Tape und Batterien für die Funkstrecken")
        .text("Empfaenger", "Musikhaus Tonleiter")
        .date("ZDatum", showDay)
        .store();
    addSale(volksfest, 0, 12, 15);
    addSale(volksfest, 1, 9, 15);
    addSale(volksfest, 1, 3, 12);
    addSale(volksfest, 3, 8, 20);
    addSale(volksfest, 4, 2, 39);

    // Played, not yet invoiced
    const std::int32_t feuerwehrball =
        addEvent({2026, 10, 3, 20, 0, 300, 150, "Feuerwehrball", "Mehrzweckhalle Birkenöd",
                  "Schulstraße 5", "84175", "Birkenöd", 2400, false, false, 200, dinner, kGebucht},
                 m_feuerwehr, m_feuerwehr.contacts[0]);
    addLineUp(feuerwehrball, {kKorbinian, kVeronika, kFlorian, kMatthias, kQuirin});
    addStatus(m_statusSet, feuerwehrball, {2, 2, 2, 1, 1, 2, 0, 1, 1, 0, 0, 0, 0, 0});
    bookFirm(feuerwehrball, kTechnician, &m_freelancer, 0, "");

    // New Year's Eve: planning well under way
    const std::int32_t silvester =
        addEvent({2026, 12, 31, 20, 0, 360, 180, "Silvesterball", "Hotel Seeblick, Panoramasaal",
                  "Seepromenade 8", "84209", "Lindenfeld am See", 5200, true, false, 450,
                  "Um Mitternacht Feuerwerk auf der Terrasse, 20 Minuten Pause. "
                  "Zimmer für die Band im Haus.",
                  kGebucht},
                 m_agentur, m_agentur.contacts[1]);
    addStatus(m_statusSet, silvester, {2, 2, 1, 2, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0});
    addLineUp(silvester, {kKorbinian, kVeronika, kFlorian, kMatthias, kQuirin, kTheresa});
    bookFirm(silvester, kTechnician, &m_freelancer, 0, "Digitalpult, kommt um 15 Uhr");
    bookFirm(silvester, kPaHire, &m_beschallung, m_beschallung.contacts[0],
             "Kompakt-PA für 400 Gäste");
    bookFirm(silvester, kLightHire, &m_licht, m_licht.contacts[0], "Angebot angefragt");
    {
        const QDateTime arrival = at(2026, 12, 31, 14, 0);
        const QDateTime departure = at(2027, 1, 1, 12, 0);
        addRoom(
            silvester, kSeeblick, 101, 119, arrival, departure,
            {{kGuestMusician, m_musicians[kKorbinian]}, {kGuestMusician, m_musicians[kQuirin]}});
        addRoom(
            silvester, kSeeblick, 102, 119, arrival, departure,
            {{kGuestMusician, m_musicians[kVeronika]}, {kGuestMusician, m_musicians[kTheresa]}});
        addRoom(silvester, kSeeblick, 103, 89, arrival, departure,
                {{kGuestTechnician, m_freelancer.id}});
    }

    // 2027
    const std::int32_t fasching27 =
        addEvent({2027, 2, 6, 20, 0, 300, 150, "Faschingsball", "Festhalle Kranichtal",
                  "Hallenweg 2", "84187", "Kranichtal", 2900, true, false, 250,
                  "Motto: Wilder Westen. Essen und Getränke frei.", kGebucht},
                 m_trachtenverein, m_trachtenverein.contacts[0]);
    addStatus(m_statusSet, fasching27, {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    for (Musician m : kStandardLineUp)
        addLineUp(fasching27, {m});

    addEvent({2027, 4, 24, 17, 0, 480, 120, "Hochzeit", "Landgasthof Pfisterwirt, Saal",
              "Seestraße 14", "84209", "Lindenfeld am See", 3400, false, false, 300, "",
              kReserviert},
             m_landgasthof, m_landgasthof.contacts[0]);
    addEvent({2027, 5, 1, 10, 30, 240, 90, "Maitanz / Frühschoppen", "Maibaumplatz", "Rathausplatz",
              "84192", "Haselried", 1600, true, false, 0, "", kAngefragt},
             m_gemeinde, m_gemeinde.contacts[0]);
    addEvent({2027, 7, 10, 19, 0, 270, 150, "Firmenfeier", "Eventscheune Moosreuth",
              "Gewerbering 17", "84217", "Moosreuth", 3000, true, false, 300,
              "Nur Hintergrundmusik bis 21 Uhr, danach Tanz", kAngefragt},
             m_agentur, m_agentur.contacts[0]);
    addEvent({2027, 9, 18, 19, 30, 300, 150, "Kirchweihtanz", "Mehrzweckhalle Birkenöd",
              "Schulstraße 5", "84175", "Birkenöd", 2500, false, false, 200, dinner, kReserviert},
             m_feuerwehr, m_feuerwehr.contacts[0]);
}

// --- generated events -------------------------------------------------------------------------

// The same seed gives the same numbers on every platform: only the engine is used, none of the
// standard distributions, whose results may differ between libraries.
class Random {
public:
    explicit Random(unsigned seed) : m_engine(seed) {}
    int below(int count) {
        return static_cast<int>(m_engine() % static_cast<std::uint32_t>(count));
    }
    bool percent(int chance) { return below(100) < chance; }
    template <class T, size_t N> const T& pick(const T (&list)[N]) {
        return list[below(static_cast<int>(N))];
    }

private:
    std::mt19937 m_engine;
};

const char* const kSurnames[] = {
    "Aigner",       "Bachmaier", "Demmel", "Eibl",      "Fischbacher", "Gassner",
    "Hartl",        "Irlbeck",   "Jaud",   "Kargl",     "Lanzinger",   "Moosbauer",
    "Niedermair",   "Obermeier", "Perzl",  "Riedl",     "Sedlmair",    "Thalhamer",
    "Unterholzner", "Vilsmeier", "Wastl",  "Zehetner",  "Brummer",     "Dengler",
    "Frauenhofer",  "Gruber",    "Heigl",  "Kronseder", "Loibl",       "Mittermaier",
    "Neudecker",    "Pöschl",    "Rauch",  "Schweiger", "Trautner",    "Weigl"};
const char* const kMaleNames[] = {"Alois",   "Andreas", "Christian", "Georg",  "Hubert",
                                  "Johann",  "Kilian",  "Leonhard",  "Martin", "Maximilian",
                                  "Michael", "Simon",   "Stefan",    "Thomas", "Xaver"};
const char* const kFemaleNames[] = {"Anna",    "Barbara",   "Christina", "Elisabeth", "Franziska",
                                    "Johanna", "Katharina", "Lena",      "Magdalena", "Monika",
                                    "Regina",  "Sophie",    "Susanne",   "Theresia",  "Ursula"};
const char* const kTownStems[] = {"Kranich", "Hasel",  "Linden",  "Birken", "Eschen", "Moos",
                                  "Tann",    "Erlen",  "Weiden",  "Ahorn",  "Kiefer", "Holler",
                                  "Ulmen",   "Buchen", "Fichten", "Eiben"};
const char* const kTownEndings[] = {"tal",   "ried",    "feld",    "brunn", "hausen",
                                    "hofen", "kirchen", "bach",    "au",    "berg",
                                    "öd",    "reuth",   "stetten", "moos",  "wang"};
const char* const kStreets[] = {"Hauptstraße", "Kirchweg",  "Bahnhofstraße", "Schulgasse",
                                "Am Anger",    "Lindenweg", "Dorfplatz",     "Mühlstraße",
                                "Bergstraße",  "Wiesenweg", "Gartenstraße",  "Am Bach"};
const char* const kClubKinds[] = {"Trachtenverein %1 e.V.", "Schützengesellschaft %1",
                                  "Sportverein %1 e.V.",    "Freiwillige Feuerwehr %1",
                                  "Burschenverein %1",      "Faschingsgilde %1 e.V.",
                                  "Musikfreunde %1 e.V.",   "Gemeinde %1"};
const char* const kBusinessKinds[] = {"Festwirtschaft %2", "Gasthof %2", "Eventagentur %2",
                                      "Landgasthof %2wirt"};
const char* const kLegalForms[] = {"", " GmbH", " KG", " e.K.", " GmbH & Co. KG"};
const char* const kServiceKinds[] = {"Tontechnik %2", "Bühnenservice %2", "Beschallung %2",
                                     "Lichttechnik %2", "Autovermietung %2"};
const char* const kContactRoles[] = {
    "Vorstand",    "Kasse",          "Festleitung",          "Geschäftsführung",
    "Disposition", "Schriftführung", "Veranstaltungsleitung"};
const char* const kPrivateContactRoles[] = {"Familie", "Ansprechpartner vor Ort",
                                            "Organisation der Feier"};
const char* const kVenues[] = {
    "Festhalle %1",    "Bürgersaal %1", "Mehrzweckhalle %1",  "Festzelt %1", "Stadl am %2hof",
    "Schützenhaus %1", "Turnhalle %1",  "Landgasthof %2wirt", "Seebühne %1", "Eventscheune %1"};

struct EventKind {
    const char* name;
    int hour;
    int minute;
    int showMinutes;
};

const EventKind kEventKinds[] = {
    {"Hochzeit", 18, 0, 480},       {"Tanzabend", 20, 0, 270},
    {"Faschingsball", 20, 0, 300},  {"Volksfest", 19, 0, 300},
    {"Firmenfeier", 19, 0, 270},    {"Geburtstag", 19, 30, 240},
    {"Kirchweihtanz", 19, 30, 300}, {"Maitanz / Frühschoppen", 10, 30, 240},
    {"Silvesterball", 20, 0, 360},  {"Vereinsjubiläum", 19, 0, 300},
    {"Weinfest", 18, 0, 300},       {"Sommernachtsfest", 19, 30, 300},
};

struct Place {
    QString town;
    QString postcode;
};

class EventGenerator {
public:
    EventGenerator(CDatabase& db, unsigned seed)
        : m_random(seed), m_firmSet(db), m_contactSet(db), m_vehicleSet(db), m_eventSet(db),
          m_statusSet(db) {
        for (CRecordset* set : std::initializer_list<CRecordset*>{
                 &m_firmSet, &m_contactSet, &m_vehicleSet, &m_eventSet, &m_statusSet})
            openForAdding(*set);
        const int stems = static_cast<int>(std::size(kTownStems));
        const int endings = static_cast<int>(std::size(kTownEndings));
        for (int i = 0; i < stems * endings; ++i) {
            m_places.push_back({QString::fromUtf8(kTownStems[i / endings]) +
                                    QString::fromUtf8(kTownEndings[i % endings]),
                                QString::number(83000 + i * 7)});
        }
    }

    void generate(int count) {
        const int organisers = std::max(1, count / 5);
        for (int i = 0; i < organisers; ++i)
            m_organisers.push_back(addOrganiser());
        const int firms = std::max(5, count / 20);
        for (int i = 0; i < firms; ++i)
            addServiceFirm(1 + i % 5);
        for (int i = 0; i < count; ++i)
            addEvent();
    }

private:
    struct Organiser {
        std::int32_t id;
        std::int32_t contact;
    };

    const Place& place() {
        return m_places[static_cast<size_t>(m_random.below(static_cast<int>(m_places.size())))];
    }
    QString street() {
        return QString::fromUtf8(m_random.pick(kStreets)) + QLatin1Char(' ') +
               QString::number(1 + m_random.below(60));
    }
    QString surname() { return QString::fromUtf8(m_random.pick(kSurnames)); }
    // A first name that goes with the salutation.
    QString firstName(int salutation) {
        return QString::fromUtf8(salutation == kHerr ? m_random.pick(kMaleNames)
                                                     : m_random.pick(kFemaleNames));
    }
    QString phone() {
        return QStringLiteral("089 99998 %1").arg(m_random.below(1000), 3, 10, QLatin1Char('0'));
    }
    QDateTime birthday() {
        return QDateTime(QDate(1950, 1, 1).addDays(m_random.below(50 * 365)), QTime(0, 0), Qt::UTC);
    }

    void fillAddress(NewRow& row, const Place& where) {
        row.text("Strasse", street())
            .text("PLZ", where.postcode)
            .text("Ort", where.town)
            .text("Tel", phone());
    }

    std::int32_t addContact(std::int32_t firm, int kind, const char* role) {
        const int salutation = m_random.below(2);
        return NewRow(m_contactSet)
            .number("ExtID", firm)
            .number("Art", kind)
            .number("APAnrede", salutation)
            .text("APName", surname())
            .text("APVorname", firstName(salutation))
            .text("APFunktion", role)
            .text("APTel", phone())
            .date("APGebDate", birthday())
            .storeKey();
    }

    QString legalForm() { return QString::fromUtf8(m_random.pick(kLegalForms)); }

    // Clubs carry the name of their town, inns and agencies the name of their owner; about a
    // third of the organisers are private persons with a wedding or a birthday to celebrate.
    Organiser addOrganiser() {
        const Place& where = place();
        NewRow row(m_firmSet);
        row.number("Art", kOrganiser);
        const bool isPrivate = m_random.percent(30);
        if (isPrivate) {
            const int salutation = m_random.below(2);
            row.flag("fPrivat", true)
                .number("Anrede", salutation)
                .text("Name", surname())
                .text("Vorname", firstName(salutation))
                .date("GebDate", birthday());
        } else if (m_random.percent(70)) {
            row.text("Firma", QString::fromUtf8(m_random.pick(kClubKinds)).arg(where.town));
        } else {
            QString name = QString::fromUtf8(m_random.pick(kBusinessKinds));
            row.text("Firma", name.replace(QLatin1String("%2"), surname()) + legalForm());
        }
        fillAddress(row, where);
        const std::int32_t id = row.storeKey();
        const char* role =
            isPrivate ? m_random.pick(kPrivateContactRoles) : m_random.pick(kContactRoles);
        return {id, addContact(id, kOrganiser, role)};
    }

    void addServiceFirm(int kind) {
        QString name = QString::fromUtf8(kServiceKinds[kind - 1]);
        NewRow row(m_firmSet);
        row.number("Art", kind)
            .text("Firma", name.replace(QLatin1String("%2"), surname()) + legalForm());
        fillAddress(row, place());
        const std::int32_t id = row.storeKey();
        addContact(id, kind, "Disposition");
        if (kind == kCarHire) {
            NewRow(m_vehicleSet)
                .number("Art", kCarHire)
                .number("ExtID", id)
                .text("Typ", "Kleinbus, 9 Sitze")
                .text("Kennzeichen", QStringLiteral("KRT-G %1").arg(100 + m_random.below(900)))
                .number("Sitzpl", 9)
                .amount("ZulGewicht", 3.0)
                .flag("Kupplung", true)
                .store();
        }
    }

    int statusFor(const QDate& day) {
        // Seen from the day the example data describes: past events are mostly invoiced,
        // future ones still being negotiated.
        const int roll = m_random.below(100);
        if (day < QDate(2026, 12, 7)) {
            if (roll < 70)
                return kFakturiert;
            if (roll < 85)
                return kAbgesagt;
            if (roll < 93)
                return kGebucht;
            return roll < 97 ? kReserviert : kAngefragt;
        }
        if (roll < 30)
            return kAngefragt;
        if (roll < 60)
            return kReserviert;
        return roll < 94 ? kGebucht : kAbgesagt;
    }

    void addEvent() {
        const EventKind& kind = m_random.pick(kEventKinds);
        const QDate day = QDate(2022, 1, 1).addDays(m_random.below(8 * 365));
        const Place& venuePlace = place();
        const Organiser& organiser = m_organisers[static_cast<size_t>(
            m_random.below(static_cast<int>(m_organisers.size())))];
        const int status = statusFor(day);
        const double fee = 50.0 * (16 + m_random.below(100));

        NewRow row(m_eventSet);
        row.text("EArt", kind.name)
            .text("ELocation", QString::fromUtf8(m_random.pick(kVenues))
                                   .replace(QLatin1String("%1"), venuePlace.town)
                                   .replace(QLatin1String("%2"), surname()))
            .text("EStrasse", street())
            .text("EPLZ", venuePlace.postcode)
            .text("EOrt", venuePlace.town)
            .amount("EGageVereinb", fee)
            .flag("EfMWST", m_random.percent(50))
            .amount("EVerlStd", 50.0 * (2 + m_random.below(8)))
            .number("Status", status)
            .number("VeranstalterID", organiser.id)
            .number("VAnsprechID", organiser.contact);
        if (status == kFakturiert)
            row.amount("EGageBezahlt", fee);
        setTimePlan(row, QDateTime(day, QTime(kind.hour, kind.minute), Qt::UTC), kind.showMinutes,
                    90 + 30 * m_random.below(4));

        if (!m_random.percent(50)) {
            row.store();
            return;
        }
        const std::int32_t event = row.storeKey();
        Progress progress;
        for (int& state : progress)
            state = m_random.below(3);
        addStatus(m_statusSet, event, progress);
    }

    Random m_random;
    CSetStammExtFirma m_firmSet;
    CSetStammExtAnsprech m_contactSet;
    CSetStammKfz m_vehicleSet;
    CSetEvent m_eventSet;
    CSetEventStatus m_statusSet;
    std::vector<Place> m_places;
    std::vector<Organiser> m_organisers;
};

} // namespace

void fillDemoData(CDatabase& db, int copies) {
    CDbTransaction transaction(db);
    for (int copy = 1; copy <= copies; ++copy)
        DemoWriter(db, copy).write();
    transaction.commit();
}

void generateEvents(CDatabase& db, int count, unsigned seed) {
    if (count <= 0)
        return;
    CDbTransaction transaction(db);
    EventGenerator(db, seed).generate(count);
    transaction.commit();
}
