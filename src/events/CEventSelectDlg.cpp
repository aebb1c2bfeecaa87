#include "CEventSelectDlg.h"

#include "core/ListKinds.h"
#include "core/ListRows.h"
#include "core/MessageService.h"
#include "core/Settings.h"
#include "data/CDaoException.h"
#include "resources/Strings.h"
#include "widgets/Pictures.h"

#include "ui_CEventSelectDlg.h"

CEventSelectDlg::CEventSelectDlg(CDatabase& db, CProfileFile& profile, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::CEventSelectDlg>()) {
    m_ui->setupUi(this);
    m_ui->listEvents->setUp(profile, Settings::EventSelect,
                            QString::fromUtf8(Strings::kEventColumns).split(QLatin1Char('\n')));
    connect(m_ui->buttonWeiter, &QPushButton::clicked, this, &CEventSelectDlg::onWeiter);
    connect(m_ui->buttonAbbrechen, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_ui->listEvents, &QTreeWidget::itemDoubleClicked, this, &CEventSelectDlg::onWeiter);
    fill(db);
}

CEventSelectDlg::~CEventSelectDlg() = default;

void CEventSelectDlg::fill(CDatabase& db) {
    std::vector<ListRow> rows;
    try {
        rows = loadListRows(db, ListKind::Events);
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
    for (const ListRow& row : rows) {
        QStringList texts;
        for (const QString& text : row.texts)
            texts << text;
        m_ui->listEvents->addRow(texts, row.key);
        QTreeWidgetItem* item =
            m_ui->listEvents->topLevelItem(m_ui->listEvents->topLevelItemCount() - 1);
        item->setIcon(0, Pictures::statusIcon(row.icon));
    }
}

void CEventSelectDlg::onWeiter() {
    const std::int32_t key = m_ui->listEvents->selectedKey();
    if (key <= 0) {
        MessageService::exclamation(this, QString::fromUtf8(Strings::kChooseEntry));
        return;
    }
    m_eventId = key;
    accept();
}

void CEventSelectDlg::done(int result) {
    m_ui->listEvents->saveWidths();
    QDialog::done(result);
}
