#include "CInstrumentDlg.h"

#include "core/MessageService.h"
#include "widgets/FormFields.h"

#include "ui_CInstrumentDlg.h"

CInstrumentDlg::CInstrumentDlg(Mode mode, const QString& name, const QString& shortName,
                               QWidget* parent)
    : CFormDialog(parent), m_ui(std::make_unique<Ui::CInstrumentDlg>()) {
    m_ui->setupUi(this);
    setWindowTitle(mode == Mode::Add ? QStringLiteral("Instrument hinzufügen")
                                     : QStringLiteral("Instrument bearbeiten"));
    FormFields::setText(m_ui->editInstrument, mode == Mode::Edit ? name : QString(), kNameLength);
    FormFields::setText(m_ui->editKurz, mode == Mode::Edit ? shortName : QString(),
                        kShortNameLength);
    connect(m_ui->buttonEnde, &QPushButton::clicked, this, &CFormDialog::onEnde);
}

CInstrumentDlg::~CInstrumentDlg() = default;

QString CInstrumentDlg::name() const {
    return m_ui->editInstrument->text();
}

QString CInstrumentDlg::shortName() const {
    return m_ui->editKurz->text();
}

bool CInstrumentDlg::save() {
    QLineEdit* empty = nullptr;
    if (m_ui->editInstrument->text().isEmpty())
        empty = m_ui->editInstrument;
    else if (m_ui->editKurz->text().isEmpty())
        empty = m_ui->editKurz;
    if (!empty)
        return true;
    empty->setFocus(Qt::OtherFocusReason);
    MessageService::exclamation(this, QStringLiteral("Ungültige Eingabe!"));
    return false;
}
