#include "CKalenderDlg.h"

#include "core/MessageService.h"
#include "core/Settings.h"
#include "exchange/CalendarExport.h"

#include "ui_CKalenderDlg.h"

#include <QDir>
#include <QFileDialog>

CKalenderDlg::CKalenderDlg(CProfileFile& profile, QWidget* parent)
    : CFormDialog(parent), m_profile(profile), m_ui(std::make_unique<Ui::CKalenderDlg>()) {
    m_ui->setupUi(this);
    m_ui->editOrdner->setText(Settings::readText(profile, Calendar::PublishFolder));
    markSaved();
    connect(m_ui->editOrdner, &QLineEdit::textEdited, this, [this] { setChanged(); });
    connect(m_ui->buttonDurchsuchen, &QPushButton::clicked, this, [this] {
        const QString folder = QFileDialog::getExistingDirectory(
            this, QStringLiteral("Ordner für die Kalender"), m_ui->editOrdner->text());
        if (folder.isEmpty())
            return;
        m_ui->editOrdner->setText(QDir::toNativeSeparators(folder));
        setChanged();
    });
    connect(m_ui->buttonEnde, &QPushButton::clicked, this, &CFormDialog::onEnde);
}

CKalenderDlg::~CKalenderDlg() = default;

bool CKalenderDlg::save() {
    const QString folder = m_ui->editOrdner->text().trimmed();
    if (!folder.isEmpty() && !QDir(folder).exists()) {
        MessageService::stop(this, QStringLiteral("Den Ordner %1 gibt es nicht. Bitte wählen Sie "
                                                  "einen vorhandenen Ordner.")
                                       .arg(folder));
        m_ui->editOrdner->setFocus();
        return false;
    }
    if (!Settings::writeText(m_profile, Calendar::PublishFolder, folder)) {
        MessageService::stop(this, QStringLiteral("Die Einstellung konnte nicht in Kavio.ini "
                                                  "gespeichert werden."));
        return false;
    }
    markSaved();
    return true;
}
