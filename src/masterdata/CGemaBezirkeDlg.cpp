#include "CGemaBezirkeDlg.h"

#include "CGemaBezirkDlg.h"
#include "core/Settings.h"
#include "data/RecordSets.h"

#include "ui_CGemaBezirkeDlg.h"

CGemaBezirkeDlg::CGemaBezirkeDlg(CDatabase& db, CProfileFile& profile, QWidget* parent)
    : CMasterListDlg(db, parent), m_ui(std::make_unique<Ui::CGemaBezirkeDlg>()) {
    m_ui->setupUi(this);
    QFont head = m_ui->labelGema->font();
    head.setBold(true);
    head.setPointSize(head.pointSize() + 6);
    m_ui->labelGema->setFont(head);
    QFont caption = m_ui->labelBezirke->font();
    caption.setBold(true);
    m_ui->labelBezirke->setFont(caption);
    setUpList(profile, Settings::Gema,
              {QStringLiteral("Bezirksdirektion"), QStringLiteral("Strasse"),
               QStringLiteral("PLZ / Ort")},
              m_ui->listBezirke, m_ui->buttonNeu, m_ui->buttonBearbeiten, m_ui->buttonLoeschen,
              m_ui->buttonEnde);
}

CGemaBezirkeDlg::~CGemaBezirkeDlg() = default;

void CGemaBezirkeDlg::fillRows() {
    m_names.clear();
    CSetStammGema offices(database());
    offices.open(QString(), QStringLiteral("[Bezirksdirektion]"));
    for (; !offices.atEnd(); offices.moveNext()) {
        const QString name = offices.getText("Bezirksdirektion");
        // Without a postcode the town follows a blank.
        list().addRow({name, offices.getText("Strasse"),
                       QStringLiteral("%1 %2").arg(offices.getText("PLZ"), offices.getText("Ort"))},
                      static_cast<std::int32_t>(m_names.size()));
        m_names.append(name);
    }
}

bool CGemaBezirkeDlg::openForm(std::int32_t key, std::int32_t& saved) {
    CGemaBezirkDlg form(database(), key >= 0 ? m_names.value(key) : QString(), this);
    if (!form.isReady() || form.exec() != QDialog::Accepted)
        return false;
    m_savedName = form.officeName();
    saved = 0;
    return true;
}

std::int32_t CGemaBezirkeDlg::keyAfterFill(std::int32_t) const {
    return static_cast<std::int32_t>(m_names.indexOf(m_savedName));
}

void CGemaBezirkeDlg::deleteRow(std::int32_t key) {
    const QString name = m_names.value(key);
    CSetStammGema office(database());
    office.open(CGemaBezirkDlg::nameFilter(name));
    // The filter ignores case; only the office of exactly this name goes.
    for (; !office.atEnd(); office.moveNext()) {
        if (office.getText("Bezirksdirektion") == name)
            office.deleteCurrent();
    }
}
