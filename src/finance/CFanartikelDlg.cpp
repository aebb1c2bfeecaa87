#include "CFanartikelDlg.h"

#include "core/BaseData.h"
#include "core/FinanceModel.h"
#include "core/MessageService.h"
#include "core/Settings.h"
#include "data/CDaoException.h"
#include "data/JetFilter.h"
#include "data/RecordSets.h"
#include "masterdata/CArtikelverwaltungDlg.h"
#include "resources/Strings.h"

#include "ui_CFanartikelDetailDlg.h"
#include "ui_CFanartikelDlg.h"

#include <QSignalBlocker>

namespace {

constexpr const char* kInvalidInput = "Ungültige Eingabe!";

std::optional<std::int32_t> optionalLong(const CRecordset& row, const char* column) {
    return row.isNull(column) ? std::nullopt : std::optional<std::int32_t>(row.getLong(column));
}

std::optional<double> optionalSingle(const CRecordset& row, const char* column) {
    return row.isNull(column) ? std::nullopt : std::optional<double>(row.getSingle(column));
}

} // namespace

// --- the list -------------------------------------------------------------------------------

CFanartikelDlg::CFanartikelDlg(CDatabase& db, CProfileFile& profile,
                               const QString& programDirectory, const PlanningContext& event,
                               QWidget* parent)
    : CFormDialog(db, parent), m_db(db), m_profile(profile), m_programDirectory(programDirectory),
      m_event(event), m_ui(std::make_unique<Ui::CFanartikelDlg>()) {
    m_ui->setupUi(this);
    m_ui->groupEvent->setEvent(event);
    m_ui->labelWaehrung->setText(BaseData::currency(db));
    m_ui->listPositionen->setUp(profile, Settings::AccntMerchandise,
                                {QStringLiteral("Artikelgruppe"), QStringLiteral("Artikel"),
                                 QStringLiteral("Menge"), QStringLiteral("Preis/Stk."),
                                 QStringLiteral("Gesamt")});
    for (int column = 2; column <= 4; ++column)
        m_ui->listPositionen->headerItem()->setTextAlignment(column, Qt::AlignRight);
    fillList(-1);
    connect(m_ui->buttonNeu, &QPushButton::clicked, this, &CFanartikelDlg::onNew);
    connect(m_ui->buttonBearbeiten, &QPushButton::clicked, this, &CFanartikelDlg::onEdit);
    connect(m_ui->listPositionen, &QTreeWidget::itemDoubleClicked, this, &CFanartikelDlg::onEdit);
    connect(m_ui->buttonLoeschen, &QPushButton::clicked, this, &CFanartikelDlg::onDelete);
    connect(m_ui->buttonEnde, &QPushButton::clicked, this, &QDialog::reject);
}

CFanartikelDlg::~CFanartikelDlg() = default;

int CFanartikelDlg::showModal(CDatabase& db, CProfileFile& profile, const QString& programDirectory,
                              std::int32_t eventId, QWidget* parent) {
    std::optional<PlanningContext> event;
    try {
        event = PlanningContext::read(db, eventId);
    } catch (const CDaoException& error) {
        MessageService::stop(parent, error.description());
        return QDialog::Rejected;
    }
    if (!event)
        return QDialog::Rejected;
    CFanartikelDlg form(db, profile, programDirectory, *event, parent);
    return form.exec();
}

void CFanartikelDlg::done(int result) {
    m_ui->listPositionen->saveWidths();
    CFormDialog::done(result);
}

void CFanartikelDlg::fillList(std::int32_t select) {
    CReportList& list = *m_ui->listPositionen;
    list.clearRows();
    double sum = 0;
    try {
        CSetEventMerchandising row(m_db);
        for (row.open(QString::asprintf("[EventID]=%d", int(m_event.eventId)),
                      QStringLiteral("[Artikelgruppe], [Artikel]"));
             !row.atEnd(); row.moveNext()) {
            // The totals come from the stored values, never from the texts shown.
            const std::optional<std::int32_t> quantity = optionalLong(row, "Menge");
            const std::optional<double> price = optionalSingle(row, "Preis");
            const double total = Finance::merchandiseTotal(quantity, price);
            sum += total;
            list.addRow({row.getText("Artikelgruppe"), row.getText("Artikel"),
                         QString::number(quantity.value_or(0)),
                         Finance::formatAmount(price.value_or(0)), Finance::formatAmount(total)},
                        row.getLong("MerchID"));
            QTreeWidgetItem* item = list.topLevelItem(list.topLevelItemCount() - 1);
            for (int column = 2; column <= 4; ++column)
                item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
        }
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
    m_ui->editSumme->setText(Finance::formatAmount(sum));
    if (select > 0)
        list.selectKey(select);
    if (list.selectedKey() < 0 && list.topLevelItemCount() > 0)
        list.setCurrentItem(list.topLevelItem(0));
    const bool rows = list.topLevelItemCount() > 0;
    m_ui->buttonBearbeiten->setEnabled(rows);
    m_ui->buttonLoeschen->setEnabled(rows);
}

void CFanartikelDlg::onNew() {
    CFanartikelDetailDlg detail(m_db, m_profile, m_programDirectory, m_event, -1, this);
    if (!detail.isReady() || detail.exec() != QDialog::Accepted)
        return;
    fillList(detail.merchId());
}

void CFanartikelDlg::onEdit() {
    const std::int32_t key = m_ui->listPositionen->selectedKey();
    if (key <= 0)
        return;
    CFanartikelDetailDlg detail(m_db, m_profile, m_programDirectory, m_event, key, this);
    if (!detail.isReady() || detail.exec() != QDialog::Accepted)
        return;
    fillList(key);
}

void CFanartikelDlg::onDelete() {
    const CReportList& list = *m_ui->listPositionen;
    const std::int32_t key = list.selectedKey();
    if (key <= 0)
        return;
    const QString text = list.selectedText(2) + QStringLiteral(" * ") + list.selectedText(0) +
                         QLatin1Char('/') + list.selectedText(1);
    if (!MessageService::askYesNo(this, QString::fromUtf8(Strings::kDeleteQuestion).arg(text)))
        return;
    try {
        CSetEventMerchandising row(m_db);
        row.open(QString::asprintf("[MerchID]=%d", int(key)));
        if (!row.atEnd())
            row.deleteCurrent();
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
        return;
    }
    fillList(-1);
}

// --- one position ---------------------------------------------------------------------------

CFanartikelDetailDlg::CFanartikelDetailDlg(CDatabase& db, CProfileFile& profile,
                                           const QString& programDirectory,
                                           const PlanningContext& event, std::int32_t merchId,
                                           QWidget* parent)
    : CFormDialog(db, parent), m_db(db), m_profile(profile), m_programDirectory(programDirectory),
      m_event(event), m_merchId(merchId), m_ui(std::make_unique<Ui::CFanartikelDetailDlg>()) {
    m_ui->setupUi(this);
    m_ui->groupEvent->setEvent(event);
    m_ui->photo->setProgramDirectory(programDirectory);
    const QString currency = BaseData::currency(db);
    m_ui->labelWaehrung1->setText(currency);
    m_ui->labelWaehrung2->setText(currency);

    std::optional<std::int32_t> quantity;
    std::optional<double> price;
    if (merchId > 0) {
        try {
            CSetEventMerchandising row(db);
            row.open(QString::asprintf("[MerchID]=%d", int(merchId)));
            if (row.atEnd()) {
                m_merchId = -1;
            } else {
                m_storedGroup = row.getText("Artikelgruppe");
                m_storedArticle = row.isNull("ArtikelID") ? -1 : row.getLong("ArtikelID");
                m_storedArticleName = row.getText("Artikel");
                quantity = optionalLong(row, "Menge");
                price = optionalSingle(row, "Preis");
            }
        } catch (const CDaoException& error) {
            // A position that cannot be read is not offered for saving.
            MessageService::stop(parent ? parent : this, error.description());
            m_ready = false;
            return;
        }
    }
    // Filling the groups selects the position's group and article and offers the article's
    // prices.
    fillGroups();
    if (m_merchId > 0) {
        m_ui->editMenge->setText(quantity ? QString::number(*quantity) : QString());
        const QSignalBlocker quiet(m_ui->comboPreis);
        m_ui->comboPreis->setCurrentIndex(-1);
        m_ui->comboPreis->setEditText(price ? Finance::formatAmount(*price) : QString());
        showTotal();
    }

    connect(m_ui->comboGruppe, &QComboBox::activated, this, [this] {
        fillArticles();
        setChanged();
    });
    connect(m_ui->comboArtikel, &QComboBox::activated, this, [this] {
        fillPrices();
        setChanged();
    });
    connect(m_ui->comboPreis, &QComboBox::activated, this, [this] {
        showTotal();
        setChanged();
    });
    connect(m_ui->comboPreis, &QComboBox::editTextChanged, this, [this] { showTotal(); });
    connect(m_ui->comboPreis->lineEdit(), &QLineEdit::textEdited, this, [this] { setChanged(); });
    connect(m_ui->editMenge, &QLineEdit::textEdited, this, [this] { showTotal(); });
    connect(m_ui->buttonVerwaltung, &QPushButton::clicked, this,
            &CFanartikelDetailDlg::onArticleManagement);
    connect(m_ui->buttonEnde, &QPushButton::clicked, this, &CFormDialog::onEnde);
    markSaved();
}

CFanartikelDetailDlg::~CFanartikelDetailDlg() = default;

void CFanartikelDetailDlg::fillGroups() {
    const QString before = m_ui->comboGruppe->currentText();
    {
        const QSignalBlocker quiet(m_ui->comboGruppe);
        m_ui->comboGruppe->clear();
        try {
            CSetStammArtikelgruppe row(m_db);
            // A group deleted since stays listed for the position that uses it.
            for (row.open(QStringLiteral("[fDeleted]=False OR [Artikelgruppe]=%1")
                              .arg(Jet::quoted(m_storedGroup)),
                          QStringLiteral("[Artikelgruppe]"));
                 !row.atEnd(); row.moveNext())
                m_ui->comboGruppe->addItem(row.getText("Artikelgruppe"));
        } catch (const CDaoException& error) {
            MessageService::stop(this, error.description());
        }
        // A group renamed since is offered under the name the position stored.
        if (!m_storedGroup.isEmpty() && m_ui->comboGruppe->findText(m_storedGroup) < 0) {
            int at = 0;
            while (at < m_ui->comboGruppe->count() &&
                   QString::localeAwareCompare(m_ui->comboGruppe->itemText(at), m_storedGroup) < 0)
                ++at;
            m_ui->comboGruppe->insertItem(at, m_storedGroup);
        }
        const QString wanted = before.isEmpty() ? m_storedGroup : before;
        const int row = m_ui->comboGruppe->findText(wanted);
        m_ui->comboGruppe->setCurrentIndex(row >= 0 ? row : (m_ui->comboGruppe->count() ? 0 : -1));
    }
    fillArticles();
}

bool CFanartikelDetailDlg::hasStoredArticle() const {
    return m_merchId > 0 && (m_storedArticle > 0 || !m_storedArticleName.isEmpty());
}

void CFanartikelDetailDlg::fillArticles() {
    {
        const QSignalBlocker quiet(m_ui->comboArtikel);
        m_ui->comboArtikel->clear();
        if (m_ui->comboGruppe->currentIndex() >= 0) {
            try {
                CSetStammArtikel row(m_db);
                for (row.open(QStringLiteral("[Artikelgruppe]=%1  AND ([fDeleted]=False OR "
                                             "[ArtikelID]=%2)")
                                  .arg(Jet::quoted(m_ui->comboGruppe->currentText()))
                                  .arg(m_storedArticle),
                              QStringLiteral("[Artikel]"));
                     !row.atEnd(); row.moveNext())
                    m_ui->comboArtikel->addItem(row.getText("Artikel"), row.getLong("ArtikelID"));
            } catch (const CDaoException& error) {
                MessageService::stop(this, error.description());
            }
        }
        // Under the group it stored, the position keeps its article, even when the article has
        // moved to another group or its group was renamed: it is shown as stored.
        int select = m_ui->comboArtikel->count() > 0 ? 0 : -1;
        if (hasStoredArticle() && m_ui->comboGruppe->currentText() == m_storedGroup) {
            select = m_ui->comboArtikel->findData(m_storedArticle);
            if (select < 0) {
                m_ui->comboArtikel->addItem(m_storedArticleName, m_storedArticle);
                select = m_ui->comboArtikel->count() - 1;
            }
        }
        m_ui->comboArtikel->setCurrentIndex(select);
    }
    fillPrices();
}

void CFanartikelDetailDlg::fillPrices() {
    {
        const QSignalBlocker quiet(m_ui->comboPreis);
        m_ui->comboPreis->clear();
    }
    m_ui->photo->clearPhoto();
    const int row = m_ui->comboArtikel->currentIndex();
    if (row >= 0) {
        try {
            CSetStammArtikel article(m_db);
            article.open(QString::asprintf("[ArtikelID]= %ld",
                                           long(m_ui->comboArtikel->itemData(row).toInt())));
            if (!article.atEnd()) {
                const QSignalBlocker quiet(m_ui->comboPreis);
                for (const char* column : {"Preis1", "Preis2", "Preis3", "Preis4"}) {
                    if (!article.isNull(column) && article.getSingle(column) > 0) {
                        const double price = article.getSingle(column);
                        m_ui->comboPreis->addItem(Finance::formatAmount(price), price);
                    }
                }
                m_ui->comboPreis->setCurrentIndex(m_ui->comboPreis->count() ? 0 : -1);
                if (!article.getText("Fotopfad").isEmpty())
                    m_ui->photo->showFile(article.getText("Fotopfad"),
                                          CPhotoCtrl::Fallback::Article);
            }
        } catch (const CDaoException& error) {
            MessageService::stop(this, error.description());
        }
    }
    showTotal();
}

std::optional<double> CFanartikelDetailDlg::unitPrice() const {
    const QComboBox& prices = *m_ui->comboPreis;
    const int row = prices.currentIndex();
    // A chosen entry carries its amount; a typed one is read with comma or point.
    if (row >= 0 && prices.itemText(row) == prices.currentText())
        return prices.itemData(row).toDouble();
    return Finance::parseAmount(prices.currentText());
}

void CFanartikelDetailDlg::showTotal() {
    bool ok = false;
    const int quantity = m_ui->editMenge->text().trimmed().toInt(&ok);
    m_ui->editGesamt->setText(Finance::formatAmount(Finance::merchandiseTotal(
        ok ? std::optional<std::int32_t>(quantity) : std::nullopt, unitPrice())));
}

void CFanartikelDetailDlg::onArticleManagement() {
    CArtikelverwaltungDlg articles(m_db, m_profile, m_programDirectory, this);
    articles.exec();
    fillGroups();
}

bool CFanartikelDetailDlg::save() {
    const auto refuse = [this](QWidget* field) {
        MessageService::exclamation(this, QString::fromUtf8(kInvalidInput));
        field->setFocus();
        return false;
    };
    if (m_ui->comboGruppe->currentIndex() < 0)
        return refuse(m_ui->comboGruppe);
    if (m_ui->comboArtikel->currentIndex() < 0)
        return refuse(m_ui->comboArtikel);
    bool ok = false;
    const int quantity = m_ui->editMenge->text().trimmed().toInt(&ok);
    if (!ok || quantity < 1)
        return refuse(m_ui->editMenge);
    const QString priceText = m_ui->comboPreis->currentText().trimmed();
    const std::optional<double> price = unitPrice();
    if ((!price && !priceText.isEmpty()) || (price && *price < 0))
        return refuse(m_ui->comboPreis);

    CSetEventMerchandising row(m_db);
    try {
        row.open(QString::asprintf("[MerchID]=%d", int(m_merchId)));
        if (row.atEnd())
            row.addNew();
        else
            row.edit();
        row.setLong("EventID", m_event.eventId);
        const std::int32_t article = m_ui->comboArtikel->currentData().toInt();
        if (article > 0)
            row.setLong("ArtikelID", article);
        else
            row.setNull("ArtikelID");
        row.setText("Artikel", m_ui->comboArtikel->currentText());
        row.setText("Artikelgruppe", m_ui->comboGruppe->currentText());
        row.setLong("Menge", quantity);
        // No price is a price of 0: the position counts 0 wherever it is summed.
        row.setSingle("Preis", price.value_or(0.0));
        row.update();
        row.moveToBookmark(row.lastModified());
        m_merchId = row.getLong("MerchID");
    } catch (const CDaoException& error) {
        if (row.isEditing())
            row.cancelUpdate();
        MessageService::stop(this, error.description());
        return false;
    }
    return true;
}
