#pragma once

#include "widgets/CFormDialog.h"

#include <QString>

#include <memory>

namespace Ui {
class CInstrumentDlg;
}

// "Instrument hinzufügen" / "Instrument bearbeiten": name and abbreviation of one instrument.
// The form writes nothing itself; when accepted, name() and shortName() hand both back to the
// instrument list, which stores them.
class CInstrumentDlg : public CFormDialog {
    Q_OBJECT
public:
    enum class Mode { Add, Edit };

    static constexpr int kNameLength = 20;
    static constexpr int kShortNameLength = 10;

    CInstrumentDlg(Mode mode, const QString& name = QString(), const QString& shortName = QString(),
                   QWidget* parent = nullptr);
    ~CInstrumentDlg() override;

    QString name() const;
    QString shortName() const;

protected:
    // Both fields must be filled: "Ungültige Eingabe!" with the focus on the first empty one.
    bool save() override;

private:
    std::unique_ptr<Ui::CInstrumentDlg> m_ui;
};
