#include "CSongDlg.h"

#include "core/MessageService.h"
#include "data/CDaoException.h"
#include "data/RecordSets.h"
#include "data/Schema.h"
#include "widgets/FormFields.h"

#include "ui_CSongDlg.h"

#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QSet>

#include <optional>

// The tempo by the tempo rule: digits only; empty and 0 are no tempo (null), a stored tempo
// below 1 shows as an empty field. The column is a short integer, so larger numbers are refused
// before the database would refuse them.
class TempoBinding : public FieldBinding {
public:
    static constexpr int kMaximum = 32767;
    static constexpr int kDigits = 5;

    explicit TempoBinding(QLineEdit* edit) : FieldBinding(edit, "Tempo"), m_edit(edit) {
        m_edit->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_edit));
    }
    void show(const QString& text) { FormFields::setText(m_edit, text, kDigits); }
    void clear() override { show(QString()); }
    void load(const CRecordset& row) override { show(CSongDlg::tempoText(row)); }
    bool read() override {
        const QString text = m_edit->text().trimmed();
        if (text.isEmpty()) {
            m_value.reset();
            return true;
        }
        bool ok = false;
        const int number = text.toInt(&ok);
        if (!ok || number < 0 || number > kMaximum)
            return refuse(QStringLiteral("Geben Sie bitte eine ganze Zahl zwischen 0 und %1 ein.")
                              .arg(kMaximum));
        m_value = number >= 1 ? std::optional<int>(number) : std::nullopt;
        return true;
    }
    void store(CRecordset& row) const override {
        if (m_value)
            row.setInt(column(), *m_value);
        else
            row.setNull(column());
    }
    // What was read, as the set list keeps it.
    QString text() const { return m_value ? QString::number(*m_value) : QString(); }

private:
    QLineEdit* m_edit;
    std::optional<int> m_value;
};

namespace {

// The entries of the "P/F" list: none, potpourri, fragments.
const char* const kPfEntries = "\nP\nF";

} // namespace

// --- SetListSong ------------------------------------------------------------------------------

QStringList SetListSong::columns() const {
    return {titel,      tonart, tempo,     bemerkung,  interpret,
            gemaWerkNr, pf,     komponist, bearbeiter, verleger};
}

SetListSong SetListSong::fromColumns(const QStringList& columns) {
    const auto at = [&columns](int index) {
        return index < columns.size() ? columns.at(index) : QString();
    };
    SetListSong song;
    song.titel = at(0);
    song.tonart = at(1);
    song.tempo = at(2);
    song.bemerkung = at(3);
    song.interpret = at(4);
    song.gemaWerkNr = at(5);
    song.pf = at(6);
    song.komponist = at(7);
    song.bearbeiter = at(8);
    song.verleger = at(9);
    return song;
}

SetListSong SetListSong::fromSongRow(const CRecordset& row) {
    SetListSong song;
    song.titel = row.getText("Titel");
    song.interpret = row.getText("Interpret");
    song.tonart = row.getText("Tonart");
    song.tempo = CSongDlg::tempoText(row);
    song.bemerkung = row.getText("Bemerkungen");
    song.gemaWerkNr = row.getText("GemaWerkNr");
    song.komponist = row.getText("Komponist");
    song.pf = row.getText("pf");
    song.bearbeiter = row.getText("Bearbeiter");
    song.verleger = row.getText("Verleger");
    return song;
}

// --- CSongDlg ---------------------------------------------------------------------------------

QString CSongDlg::tempoText(const CRecordset& row, const char* column) {
    if (row.isNull(column))
        return QString();
    const int tempo = row.getInt(column);
    return tempo >= 1 ? QString::number(tempo) : QString();
}

CSongDlg::CSongDlg(CDatabase& db, std::int32_t songId, QWidget* parent)
    : CRecordFormDialog(db, CSetStammSongliste::definition(), "SongID", songId, parent),
      m_setListMode(false), m_ui(std::make_unique<Ui::CSongDlg>()) {
    setUpFields();
    fillValueLists();
    loadRow();
}

CSongDlg::CSongDlg(CDatabase& db, const SetListSong& song, QWidget* parent)
    : CRecordFormDialog(db, CSetStammSongliste::definition(), "SongID", -1, parent),
      m_setListMode(true), m_song(song), m_ui(std::make_unique<Ui::CSongDlg>()) {
    setUpFields();
    showSetListSong(song);
}

CSongDlg::~CSongDlg() = default;

void CSongDlg::setUpFields() {
    m_ui->setupUi(this);
    FormFields::fillFromLines(m_ui->comboPF, kPfEntries);

    // In the order of the form, so that the first faulty field is the one refused.
    const int text = Schema::kMaxTextLength;
    FieldBindings& f = fields();
    m_titel = f.add<TextBinding>(m_ui->editTitel, "Titel", text);
    m_interpret = f.add<ComboTextBinding>(m_ui->comboInterpret, "Interpret", text);
    m_tonart = f.add<TextBinding>(m_ui->editTonart, "Tonart", text);
    m_tempo = f.add<TempoBinding>(m_ui->editTempo);
    m_bemerkung = f.add<TextBinding>(m_ui->editBemerkung, "Bemerkungen", text);
    m_gemaWerkNr = f.add<TextBinding>(m_ui->editGemaWerkNr, "GemaWerkNr", text);
    m_komponist = f.add<ComboTextBinding>(m_ui->comboKomponist, "Komponist", text);
    m_pf = f.add<ComboTextBinding>(m_ui->comboPF, "pf", text);
    m_bearbeiter = f.add<ComboTextBinding>(m_ui->comboBearbeiter, "Bearbeiter", text);
    m_verleger = f.add<ComboTextBinding>(m_ui->comboVerleger, "Verleger", text);

    connect(m_ui->buttonEnde, &QPushButton::clicked, this, &CSongDlg::onEndeClicked);
}

int CSongDlg::showModal(CDatabase& db, std::int32_t& songId, QWidget* parent) {
    CSongDlg form(db, songId, parent);
    if (!form.isReady())
        return QDialog::Rejected;
    const int result = form.exec();
    if (result == QDialog::Accepted)
        songId = form.songId();
    return result;
}

bool CSongDlg::editSetListSong(CDatabase& db, SetListSong& song, QWidget* parent) {
    CSongDlg form(db, song, parent);
    if (form.exec() != QDialog::Accepted)
        return false;
    song = form.setListSong();
    return true;
}

void CSongDlg::fillValueLists() {
    const struct {
        QComboBox* combo;
        const char* column;
    } lists[] = {{m_ui->comboInterpret, "Interpret"},
                 {m_ui->comboKomponist, "Komponist"},
                 {m_ui->comboBearbeiter, "Bearbeiter"},
                 {m_ui->comboVerleger, "Verleger"}};
    try {
        for (const auto& list : lists) {
            const QString column = QString::fromLatin1(list.column);
            CSetStammSongliste songs(database());
            songs.open(QStringLiteral("[%1] Is Not Null").arg(column),
                       QStringLiteral("[%1]").arg(column));
            // The sort ignores case, so equal texts need not follow each other: each value is
            // offered once all the same.
            QSet<QString> offered;
            for (; !songs.atEnd(); songs.moveNext()) {
                const QString value = songs.getText(list.column);
                if (value.isEmpty() || offered.contains(value))
                    continue;
                offered.insert(value);
                list.combo->addItem(value);
            }
        }
    } catch (const CDaoException& error) {
        // The form still edits the song; the lists offer what was read.
        MessageService::stop(parentWidget() ? parentWidget() : this, error.description());
    }
}

void CSongDlg::showSetListSong(const SetListSong& song) {
    FormFields::setText(m_ui->editTitel, song.titel, Schema::kMaxTextLength);
    m_interpret->show(song.interpret);
    FormFields::setText(m_ui->editTonart, song.tonart, Schema::kMaxTextLength);
    m_tempo->show(song.tempo);
    FormFields::setText(m_ui->editBemerkung, song.bemerkung, Schema::kMaxTextLength);
    FormFields::setText(m_ui->editGemaWerkNr, song.gemaWerkNr, Schema::kMaxTextLength);
    m_komponist->show(song.komponist);
    m_pf->show(song.pf);
    m_bearbeiter->show(song.bearbeiter);
    m_verleger->show(song.verleger);
    for (QLineEdit* edit :
         {m_ui->editTitel, m_ui->editTonart, m_ui->editBemerkung, m_ui->editGemaWerkNr})
        edit->setCursorPosition(0);
}

void CSongDlg::onEndeClicked() {
    if (!m_setListMode) {
        onEnde();
        return;
    }
    // A refused field keeps the form open with the focus on it.
    if (!fields().read())
        return;
    m_song.titel = m_titel->value();
    m_song.interpret = m_interpret->value();
    m_song.tonart = m_tonart->value();
    m_song.tempo = m_tempo->text();
    m_song.bemerkung = m_bemerkung->value();
    m_song.gemaWerkNr = m_gemaWerkNr->value();
    m_song.komponist = m_komponist->value();
    m_song.pf = m_pf->value();
    m_song.bearbeiter = m_bearbeiter->value();
    m_song.verleger = m_verleger->value();
    accept();
}
