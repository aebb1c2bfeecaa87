#include "CDatensicherungDlg.h"

#include "core/Backup.h"
#include "core/MessageService.h"

#include "ui_CDatensicherungDlg.h"

#include <QDir>
#include <QLocale>

namespace {
constexpr int kPathRole = Qt::UserRole + 1;
}

CDatensicherungDlg::CDatensicherungDlg(const QString& backupFolder, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::CDatensicherungDlg>()) {
    m_ui->setupUi(this);
    const QLocale german(QLocale::German, QLocale::Germany);
    const QList<Backup::Copy> copies = Backup::list(backupFolder);
    for (const Backup::Copy& copy : copies) {
        auto* item = new QTreeWidgetItem(m_ui->listKopien);
        item->setText(0, copy.taken.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")));
        item->setText(1,
                      german.formattedDataSize(copy.size, 1, QLocale::DataSizeTraditionalFormat));
        item->setText(2, copy.events < 0 ? QStringLiteral("nicht lesbar")
                                         : QString::number(copy.events));
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        item->setData(0, kPathRole, copy.path);
    }
    // The date with its time and the size are read whole, whatever the font.
    for (int column = 0; column < m_ui->listKopien->columnCount() - 1; ++column)
        m_ui->listKopien->resizeColumnToContents(column);
    m_ui->labelOrdner->setText(
        QStringLiteral("Ordner: %1").arg(QDir::toNativeSeparators(backupFolder)));
    if (copies.isEmpty())
        m_ui->labelOrdner->setText(QStringLiteral("Im Ordner %1 liegt noch keine Datensicherung.")
                                       .arg(QDir::toNativeSeparators(backupFolder)));
    m_ui->buttonWiederherstellen->setEnabled(false);
    connect(m_ui->listKopien, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) {
                m_ui->buttonWiederherstellen->setEnabled(current != nullptr);
            });
    connect(m_ui->listKopien, &QTreeWidget::itemDoubleClicked, this,
            &CDatensicherungDlg::onRestore);
    connect(m_ui->buttonWiederherstellen, &QPushButton::clicked, this,
            &CDatensicherungDlg::onRestore);
    connect(m_ui->buttonAbbrechen, &QPushButton::clicked, this, &QDialog::reject);
}

CDatensicherungDlg::~CDatensicherungDlg() = default;

void CDatensicherungDlg::onRestore() {
    const QTreeWidgetItem* item = m_ui->listKopien->currentItem();
    if (!item)
        return;
    if (!MessageService::askYesNo(
            this, QStringLiteral("Soll die Datenbank durch die Datensicherung vom %1 ersetzt "
                                 "werden?\n\nDer jetzige Stand wird vorher selbst als "
                                 "Datensicherung abgelegt.")
                      .arg(item->text(0))))
        return;
    m_chosen = item->data(0, kPathRole).toString();
    accept();
}
