#pragma once

#include <QString>

class CDatabase;
class CRecordset;

// The base data of T_Grunddaten: the two VAT rates and the currency texts. The table holds one
// row; while it has none, the defaults below stand in for it.
struct BaseData {
    double vatRate1 = 16;
    double vatRate2 = 7;
    QString currencyShort = QStringLiteral("€");
    QString currencyLong = QStringLiteral("Euro");
    bool stored = false; // the values come from a row of the table

    // Reads the first row; the defaults when there is none. Throws CDaoException.
    static BaseData read(CDatabase& db);
    // The short currency text, "€" when there is no row or the database cannot be read.
    static QString currency(CDatabase& db);
    // Sets a new row's columns to the defaults, so no currency label is ever blank.
    static void fillNewRow(CRecordset& row);
};

// Flags the master rows the filter finds as deleted (fDeleted); they stay in their table until
// nothing refers to them. Returns the number of rows flagged. Throws CDaoException and then
// leaves every row as it was.
int softDelete(CRecordset& rows, const QString& filter);
