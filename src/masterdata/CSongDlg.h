#pragma once

#include "widgets/CRecordFormDialog.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>

class CDatabase;
class CRecordset;
class ComboTextBinding;
class TempoBinding;
class TextBinding;

namespace Ui {
class CSongDlg;
}

// The ten values of one song as a set list copies them from the song list. The tempo is a text:
// a whole number of 1 or more, or empty.
struct SetListSong {
    QString titel;
    QString interpret;
    QString tonart;
    QString tempo;
    QString bemerkung;
    QString gemaWerkNr;
    QString komponist;
    QString pf;
    QString bearbeiter;
    QString verleger;

    // The columns of the set-list planning lists, in their order: "Titel", "Tonart", "Tempo",
    // "Bemerkung", "Interpret", "GEMA-Werk-Nr.", "P/F", "Komponist", "Bearbeiter", "Verleger".
    static constexpr int kColumnCount = 10;
    QStringList columns() const;
    // Missing columns read as empty.
    static SetListSong fromColumns(const QStringList& columns);
    // The current row of a song-list record set (T_Stamm_Songliste), the tempo by the tempo
    // rule.
    static SetListSong fromSongRow(const CRecordset& row);

    bool operator==(const SetListSong& other) const { return columns() == other.columns(); }
    bool operator!=(const SetListSong& other) const { return !(*this == other); }
};

// "Song bearbeiten": one song of the band's song list (T_Stamm_Songliste) with its GEMA details.
// The drop-downs of performer, composer, arranger and publisher offer every value the song list
// already holds, each once. Tempo rule: an empty tempo or 0 is stored as null, and a stored
// tempo below 1 shows as an empty field.
//
// The same form edits one song of a set list: opened with the song's ten values instead of a
// key, it reads and writes nothing in the database; "&Ende" hands the values back at once,
// without a question (see editSetListSong).
class CSongDlg : public CRecordFormDialog {
    Q_OBJECT
public:
    // The song with this key, or a new song for -1. Accepted after a successful save; songId()
    // then gives the song's key.
    CSongDlg(CDatabase& db, std::int32_t songId, QWidget* parent = nullptr);
    // A song of a set list: the form shows `song`; setListSong() gives the values once the form
    // was accepted. `db` is neither read nor written.
    CSongDlg(CDatabase& db, const SetListSong& song, QWidget* parent = nullptr);
    ~CSongDlg() override;

    // Opens the form for a song modally and returns its result; QDialog::Rejected without
    // showing it when the song could not be read. `songId` receives the key after an accepted
    // form.
    static int showModal(CDatabase& db, std::int32_t& songId, QWidget* parent = nullptr);
    // Opens the form for a song of a set list modally. True when the user closed it with
    // "&Ende": `song` then holds the edited values. False (Escape, close box): `song` is left
    // as it was.
    static bool editSetListSong(CDatabase& db, SetListSong& song, QWidget* parent = nullptr);

    bool isSetListSong() const { return m_setListMode; }
    std::int32_t songId() const { return key(); }
    // The values the form holds after "&Ende" in set-list mode.
    const SetListSong& setListSong() const { return m_song; }

    // The tempo rule: the text a stored tempo shows ("" for null and anything below 1).
    static QString tempoText(const CRecordset& row, const char* column = "Tempo");

private:
    void setUpFields();
    // The distinct values the song list holds in each of the four drop-downs.
    void fillValueLists();
    void showSetListSong(const SetListSong& song);
    // "&Ende" and the confirm key: in set-list mode the values are read back and the form is
    // accepted at once; otherwise the usual question.
    void onEndeClicked();

    const bool m_setListMode;
    SetListSong m_song;
    TextBinding* m_titel = nullptr;
    TextBinding* m_tonart = nullptr;
    TempoBinding* m_tempo = nullptr;
    TextBinding* m_bemerkung = nullptr;
    TextBinding* m_gemaWerkNr = nullptr;
    ComboTextBinding* m_interpret = nullptr;
    ComboTextBinding* m_komponist = nullptr;
    ComboTextBinding* m_pf = nullptr;
    ComboTextBinding* m_bearbeiter = nullptr;
    ComboTextBinding* m_verleger = nullptr;
    std::unique_ptr<Ui::CSongDlg> m_ui;
};
