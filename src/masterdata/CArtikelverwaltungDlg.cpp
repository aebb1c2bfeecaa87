#include "CArtikelverwaltungDlg.h"

#include "CArtikelDlg.h"
#include "core/BaseData.h"
#include "core/MessageService.h"
#include "core/Settings.h"
#include "data/CDaoException.h"
#include "data/RecordSets.h"
#include "resources/Strings.h"

#include "ui_CArtikelverwaltungDlg.h"
#include "widgets/ReadOnlyForm.h"

namespace {

enum Column { GroupColumn, NameColumn, DescriptionColumn, FirstPriceColumn };

const char* const kPriceColumns[] = {"Preis1", "Preis2", "Preis3", "Preis4"};

// A price with two decimals; empty when there is none.
QString priceText(const CRecordset& row, const char* column) {
    if (row.isNull(column))
        return QString();
    return QString::number(double(row.getSingle(column)), 'f', 2).replace(u'.', u',');
}

// A description of several lines on one line of the list.
QString oneLine(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    return text;
}

} // namespace

CArtikelverwaltungDlg::CArtikelverwaltungDlg(CDatabase& db, CProfileFile& profile,
                                             const QString& programDirectory, QWidget* parent)
    : QDialog(parent), m_db(db), m_profile(profile), m_programDirectory(programDirectory),
      m_ui(std::make_unique<Ui::CArtikelverwaltungDlg>()) {
    m_ui->setupUi(this);
    m_ui->listArtikel->setUp(m_profile, Settings::Product,
                             {QStringLiteral("Artikelgruppe"), QStringLiteral("Artikel"),
                              QStringLiteral("Beschreibung"), QStringLiteral("Preis 1"),
                              QStringLiteral("Preis 2"), QStringLiteral("Preis 3"),
                              QStringLiteral("Preis 4")});
    fillList();
    updateButtons();

    connect(m_ui->listArtikel, &QTreeWidget::itemSelectionChanged, this,
            &CArtikelverwaltungDlg::updateButtons);
    connect(m_ui->listArtikel, &QTreeWidget::itemDoubleClicked, this,
            &CArtikelverwaltungDlg::onEdit);
    connect(m_ui->buttonHinzufuegen, &QPushButton::clicked, this, &CArtikelverwaltungDlg::onAdd);
    connect(m_ui->buttonBearbeiten, &QPushButton::clicked, this, &CArtikelverwaltungDlg::onEdit);
    connect(m_ui->buttonLoeschen, &QPushButton::clicked, this, &CArtikelverwaltungDlg::onDelete);
    connect(m_ui->buttonEnde, &QPushButton::clicked, this, &QDialog::accept);
    ReadOnlyForm::lockWriteButtons(m_db, *this);
}

CArtikelverwaltungDlg::~CArtikelverwaltungDlg() = default;

void CArtikelverwaltungDlg::done(int result) {
    m_ui->listArtikel->saveWidths();
    QDialog::done(result);
}

void CArtikelverwaltungDlg::fillList(std::int32_t selectKey) {
    CReportList* list = m_ui->listArtikel;
    list->clearRows();
    try {
        CSetStammArtikel articles(m_db);
        articles.open(QStringLiteral("[fDeleted]=False"),
                      QStringLiteral("[Artikelgruppe],[Artikel]"));
        for (; !articles.atEnd(); articles.moveNext()) {
            QStringList texts{articles.getText("Artikelgruppe"), articles.getText("Artikel"),
                              oneLine(articles.getText("Artikelbeschreibung"))};
            for (const char* price : kPriceColumns)
                texts << priceText(articles, price);
            list->addRow(texts, articles.getLong("ArtikelID"));
        }
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        for (int column = FirstPriceColumn; column < list->columnCount(); ++column)
            list->topLevelItem(row)->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    }
    if (selectKey >= 0)
        list->selectKey(selectKey);
    updateButtons();
}

void CArtikelverwaltungDlg::updateButtons() {
    const bool selected = m_ui->listArtikel->selectedKey() >= 0;
    m_ui->buttonBearbeiten->setEnabled(selected);
    m_ui->buttonLoeschen->setEnabled(selected);
}

void CArtikelverwaltungDlg::onAdd() {
    std::int32_t key = -1;
    if (CArtikelDlg::showModal(m_db, m_profile, m_programDirectory, key, this) == QDialog::Accepted)
        fillList(key);
}

void CArtikelverwaltungDlg::onEdit() {
    std::int32_t key = m_ui->listArtikel->selectedKey();
    if (key < 0)
        return;
    if (CArtikelDlg::showModal(m_db, m_profile, m_programDirectory, key, this) == QDialog::Accepted)
        fillList(key);
}

void CArtikelverwaltungDlg::onDelete() {
    CReportList* list = m_ui->listArtikel;
    const std::int32_t key = list->selectedKey();
    if (key < 0)
        return;
    const QString question =
        QString::fromUtf8(Strings::kDeleteQuestion).arg(list->selectedText(NameColumn));
    if (!MessageService::askYesNo(this, question))
        return;
    try {
        CSetStammArtikel articles(m_db);
        softDelete(articles, QString::asprintf("[ArtikelID]=%ld", long(key)));
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
        return;
    }
    list->removeSelectedRow();
    updateButtons();
}
