#pragma once

#include "widgets/CRecordFormDialog.h"

#include <QString>

#include <memory>

class CDatabase;
class TextBinding;

namespace Ui {
class CGemaBezirkDlg;
}

// "GEMA Bezirksdirektion": one GEMA district office (T_Stamm_Gema_Bezirk) with its address,
// numbers and the area it is responsible for. The office is known by its name, which is also
// its key: opened with an empty name for a new office. After a save officeName() gives the name
// as stored, which may have been changed in the form.
class CGemaBezirkDlg : public CRecordFormDialog {
    Q_OBJECT
public:
    CGemaBezirkDlg(CDatabase& db, const QString& name, QWidget* parent = nullptr);
    ~CGemaBezirkDlg() override;

    const QString& officeName() const { return m_name; }

    // "[Bezirksdirektion]=\"...\"" for any name, quotes in it included.
    static QString nameFilter(const QString& name);

protected:
    QString rowFilter(std::int32_t key) const override;
    bool checkInput() override;
    void storeRow(CRecordset& row, bool isNew) override;
    bool save() override;

private:
    // The name of the stored row the form edits; empty for a new office.
    QString m_name;
    TextBinding* m_nameField = nullptr;
    std::unique_ptr<Ui::CGemaBezirkDlg> m_ui;
};
