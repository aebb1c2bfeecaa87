#include "BaseData.h"

#include "data/CDaoException.h"
#include "data/CDatabase.h"
#include "data/RecordSets.h"

BaseData BaseData::read(CDatabase& db) {
    BaseData data;
    CSetGrunddaten row(db);
    row.open();
    if (row.atEnd())
        return data;
    data.stored = true;
    data.vatRate1 = row.getSingle("MWST_Satz1");
    data.vatRate2 = row.getSingle("MWST_Satz2");
    // A null text reads as an empty one.
    data.currencyShort = row.getText("Waehrungkurz");
    data.currencyLong = row.getText("Waehrunglang");
    return data;
}

QString BaseData::currency(CDatabase& db) {
    try {
        return read(db).currencyShort;
    } catch (const CDaoException&) {
        // Without base data an amount still gets its usual currency.
        return BaseData().currencyShort;
    }
}

void BaseData::fillNewRow(CRecordset& row) {
    const BaseData defaults;
    row.setSingle("MWST_Satz1", defaults.vatRate1);
    row.setSingle("MWST_Satz2", defaults.vatRate2);
    row.setText("Waehrungkurz", defaults.currencyShort);
    row.setText("Waehrunglang", defaults.currencyLong);
    row.setText("Union_No", QString());
}

int softDelete(CRecordset& rows, const QString& filter) {
    CDbTransaction transaction(rows.database());
    int flagged = 0;
    for (rows.open(filter); !rows.atEnd(); rows.moveNext()) {
        rows.edit();
        rows.setBool("fDeleted", true);
        rows.update();
        ++flagged;
    }
    transaction.commit();
    return flagged;
}
