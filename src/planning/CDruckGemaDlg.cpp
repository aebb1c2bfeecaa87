#include "CDruckGemaDlg.h"

#include "core/ChangeNotifier.h"
#include "core/GemaDeadline.h"
#include "core/MessageService.h"
#include "core/UserProfile.h"
#include "data/CDaoException.h"
#include "views/CViewPrintPreview.h"
#include "widgets/FormFields.h"

#include "ui_CDruckGemaDlg.h"

#include <QDate>
#include <QMessageBox>

const char* const CDruckGemaDlg::kHelpTitle = "Netto-Einzelverrechnung (Direktverrechnung)";
const char* const CDruckGemaDlg::kHelpText =
    "Bei Veranstaltungen, in denen mindestens 80% Werke eines Urhebers bzw. einer "
    "Urhebergemeinschaft\n"
    "im Sinne der §§ 8 und 9 UrhG (mehrere Miturheber) aufgeführt werden, besteht auf Antrag der "
    "Urheber \n"
    "die Möglichkeit einer Netto-Einzelverrechnung (Direktverrechnung); \n"
    "falls diese beabsichtigt ist, benutzen Sie bitte das Direkt-Verrechnungs-Formular "
    "\u201EMusikfolge für eine\n"
    "Einzelveranstaltung (Live-Musik) bei Netto-Einzelverrechnung.";

CDruckGemaDlg::CDruckGemaDlg(CDatabase& db, std::int32_t eventId, PrintRegistration& registration,
                             QWidget* parent)
    : QDialog(parent), m_db(db), m_eventId(eventId), m_registration(registration),
      m_registered(registration, &m_source), m_ui(std::make_unique<Ui::CDruckGemaDlg>()) {
    m_ui->setupUi(this);
    QPalette hint = m_ui->labelHinweis->palette();
    hint.setColor(QPalette::Window, QColor(255, 202, 202));
    m_ui->labelHinweis->setPalette(hint);

    // The print command renders the form from the values "&Drucken" took over last.
    m_source.render = [this](const PageMetrics& metrics) {
        return GemaReport::render(m_db, m_eventId, m_values, metrics);
    };
    m_source.printed = [this] { markPrinted(); };

    // A part that cannot be read is shown as an error; the form opens with the rest.
    QWidget* const messageParent = parent ? parent : this;
    UserProfile user;
    try {
        user = UserProfile::load(db);
    } catch (const CDaoException& error) {
        MessageService::stop(messageParent, error.description());
    }
    try {
        m_values = Gema::initialValues(db, eventId, user);
    } catch (const CDaoException& error) {
        MessageService::stop(messageParent, error.description());
    }
    try {
        m_offices = Gema::offices(db);
    } catch (const CDaoException& error) {
        MessageService::stop(messageParent, error.description());
    }
    for (const Gema::Office& office : m_offices)
        m_ui->comboBezirk->addItem(office.name);
    connect(m_ui->comboBezirk, &QComboBox::currentIndexChanged, this,
            &CDruckGemaDlg::onOfficeChanged);
    showValues(m_values);
    onOfficeChanged(m_ui->comboBezirk->currentIndex());

    try {
        m_ui->checkKeineMeldung->setChecked(GemaDeadline::noReportNeeded(db, eventId));
    } catch (const CDaoException& error) {
        MessageService::stop(messageParent, error.description());
    }
    connect(m_ui->checkKeineMeldung, &QCheckBox::clicked, this, &CDruckGemaDlg::onNoReportNeeded);

    connect(m_ui->buttonHilfe, &QPushButton::clicked, this, &CDruckGemaDlg::onHelp);
    connect(m_ui->buttonDrucken, &QPushButton::clicked, this, &CDruckGemaDlg::onPrint);
    connect(m_ui->buttonZurueck, &QPushButton::clicked, this, &QDialog::reject);
}

CDruckGemaDlg::~CDruckGemaDlg() = default;

void CDruckGemaDlg::done(int result) {
    // From now on the print command goes back to the form that opened this one.
    m_registered.release();
    QDialog::done(result);
}

void CDruckGemaDlg::showValues(const Gema::FormValues& values) {
    const struct {
        QLineEdit* field;
        const QString& text;
    } texts[] = {{m_ui->editMitgliedsNr, values.memberNumber},
                 {m_ui->editVeranstalter, values.organiser},
                 {m_ui->editVStrasse, values.organiserStreet},
                 {m_ui->editVPLZ, values.organiserPostcode},
                 {m_ui->editVOrt, values.organiserTown},
                 {m_ui->editRaum, values.location},
                 {m_ui->editEStrasse, values.venueStreet},
                 {m_ui->editEPLZ, values.venuePostcode},
                 {m_ui->editEOrt, values.venueTown},
                 {m_ui->editArt, values.eventKind},
                 {m_ui->editDatum, values.date},
                 {m_ui->editVon, values.from},
                 {m_ui->editBis, values.to},
                 {m_ui->editKapelle, values.band},
                 {m_ui->editLeiter, values.leader},
                 {m_ui->editLStrasse, values.leaderStreet},
                 {m_ui->editLPLZ, values.leaderPostcode},
                 {m_ui->editLOrt, values.leaderTown},
                 {m_ui->editBesetzung, values.lineUpKind}};
    for (const auto& entry : texts)
        FormFields::setText(entry.field, entry.text);
    m_ui->spinMusiker->setValue(values.musicians);
    m_ui->checkDirekt->setChecked(values.direct);
}

Gema::FormValues CDruckGemaDlg::shownValues() const {
    Gema::FormValues values;
    const int office = m_ui->comboBezirk->currentIndex();
    if (office >= 0 && office < int(m_offices.size()))
        values.office = m_offices[size_t(office)];
    values.memberNumber = m_ui->editMitgliedsNr->text().trimmed();
    values.organiser = m_ui->editVeranstalter->text();
    values.organiserStreet = m_ui->editVStrasse->text();
    values.organiserPostcode = m_ui->editVPLZ->text();
    values.organiserTown = m_ui->editVOrt->text();
    values.location = m_ui->editRaum->text();
    values.venueStreet = m_ui->editEStrasse->text();
    values.venuePostcode = m_ui->editEPLZ->text();
    values.venueTown = m_ui->editEOrt->text();
    values.eventKind = m_ui->editArt->text();
    values.date = m_ui->editDatum->text();
    values.from = m_ui->editVon->text();
    values.to = m_ui->editBis->text();
    values.band = m_ui->editKapelle->text();
    values.leader = m_ui->editLeiter->text();
    values.leaderStreet = m_ui->editLStrasse->text();
    values.leaderPostcode = m_ui->editLPLZ->text();
    values.leaderTown = m_ui->editLOrt->text();
    values.musicians = m_ui->spinMusiker->value();
    values.lineUpKind = m_ui->editBesetzung->text();
    values.direct = m_ui->checkDirekt->isChecked();
    return values;
}

void CDruckGemaDlg::onOfficeChanged(int index) {
    const bool known = index >= 0 && index < int(m_offices.size());
    m_ui->editZustBereich->setPlainText(known ? m_offices[size_t(index)].area : QString());
}

void CDruckGemaDlg::onHelp() {
    QMessageBox help(QMessageBox::Information, QString::fromUtf8(kHelpTitle),
                     QString::fromUtf8(kHelpText), QMessageBox::Ok, this);
    help.exec();
}

void CDruckGemaDlg::onPrint() {
    if (m_preview) {
        m_preview->raise();
        m_preview->activateWindow();
        return;
    }
    // The member number goes into six boxes; a longer one is refused rather than cut.
    QString member;
    m_ui->editMitgliedsNr->setText(m_ui->editMitgliedsNr->text().trimmed());
    if (!FormFields::readText(m_ui->editMitgliedsNr, Gema::kMemberNumberLength, member))
        return;
    m_values = shownValues();

    Report::Document document =
        m_source.render(ReportPrinting::metricsOf(ReportPrinting::printer()));
    if (document.pages.empty())
        return; // the works could not be read; that has been shown
    CPrintPreviewWindow window(this);
    CViewPrintPreview* view = window.view();
    view->setPdfName(ReportPrinting::eventPdfName(m_db, document.title, m_eventId));
    view->setRenderer(m_source.render);
    view->setDocument(std::move(document));
    view->setPrintHandler(
        [this, &window, view] { m_registration.print(&window, view->document().pageCount()); });
    connect(view, &CViewPrintPreview::pdfSaved, this, &CDruckGemaDlg::markPrinted);
    m_preview = &window;
    window.setWindowState(window.windowState() | Qt::WindowMaximized);
    window.exec();
    m_preview = nullptr;
}

void CDruckGemaDlg::onNoReportNeeded(bool noReport) {
    try {
        GemaDeadline::setNoReportNeeded(m_db, m_eventId, noReport);
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
        m_ui->checkKeineMeldung->setChecked(!noReport);
        return;
    }
    // The event list drops (or shows again) its GEMA reminder for the event.
    Changes::planning(m_eventId);
}

void CDruckGemaDlg::markPrinted() {
    try {
        GemaDeadline::markGemaPrinted(m_db, m_eventId, QDate::currentDate());
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
        return;
    }
    // The event list drops its GEMA reminder for the event.
    Changes::planning(m_eventId);
}
