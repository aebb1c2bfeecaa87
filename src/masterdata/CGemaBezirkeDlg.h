#pragma once

#include "CMasterListDlg.h"

#include <QStringList>

#include <memory>

namespace Ui {
class CGemaBezirkeDlg;
}

// "GEMA Bezirksdirektionen": the GEMA district offices in alphabetical order, with adding,
// editing and deleting. Offices are known by their name; deleting removes the office.
class CGemaBezirkeDlg : public CMasterListDlg {
    Q_OBJECT
public:
    CGemaBezirkeDlg(CDatabase& db, CProfileFile& profile, QWidget* parent = nullptr);
    ~CGemaBezirkeDlg() override;

protected:
    // Each row's key is its place in the list; m_names holds the office names by that place.
    void fillRows() override;
    bool openForm(std::int32_t key, std::int32_t& saved) override;
    void deleteRow(std::int32_t key) override;
    std::int32_t keyAfterFill(std::int32_t saved) const override;

private:
    QStringList m_names;
    // The office the last form stored, selected once the list is filled again.
    QString m_savedName;
    std::unique_ptr<Ui::CGemaBezirkeDlg> m_ui;
};
