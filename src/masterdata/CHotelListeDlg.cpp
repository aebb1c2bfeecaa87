#include "CHotelListeDlg.h"

#include "CHotelDlg.h"
#include "core/BaseData.h"
#include "core/Settings.h"
#include "data/RecordSets.h"

#include "ui_CHotelListeDlg.h"

#include <QPair>
#include <QVector>

CHotelListeDlg::CHotelListeDlg(CDatabase& db, CProfileFile& profile, QWidget* parent)
    : CMasterListDlg(db, parent), m_ui(std::make_unique<Ui::CHotelListeDlg>()) {
    m_ui->setupUi(this);
    setUpList(profile, Settings::Hotellist,
              {QStringLiteral("Hotel / Pension"), QStringLiteral("PLZ"), QStringLiteral("Ort"),
               QStringLiteral("Strasse")},
              m_ui->listHotels, m_ui->buttonNeu, m_ui->buttonBearbeiten, m_ui->buttonLoeschen,
              m_ui->buttonEnde);
}

CHotelListeDlg::~CHotelListeDlg() = default;

void CHotelListeDlg::fillRows() {
    // Read in alphabetical order, each row put at the top: the list shows the names from Z to A.
    QVector<QPair<QStringList, std::int32_t>> rows;
    CSetHotel hotels(database());
    hotels.open(QStringLiteral("[fDeleted]=False"), QStringLiteral("[Name]"));
    for (; !hotels.atEnd(); hotels.moveNext())
        rows.append({{hotels.getText("Name"), hotels.getText("PLZ"), hotels.getText("Ort"),
                      hotels.getText("Strasse")},
                     hotels.getLong("HotelID")});
    for (auto row = rows.crbegin(); row != rows.crend(); ++row)
        list().addRow(row->first, row->second);
}

bool CHotelListeDlg::openForm(std::int32_t key, std::int32_t& saved) {
    CHotelDlg form(database(), key, this);
    if (!form.isReady() || form.exec() != QDialog::Accepted)
        return false;
    saved = form.hotelId();
    return true;
}

void CHotelListeDlg::deleteRow(std::int32_t key) {
    CSetHotel hotel(database());
    softDelete(hotel, QString::asprintf("[HotelID]=%ld", long(key)));
}
