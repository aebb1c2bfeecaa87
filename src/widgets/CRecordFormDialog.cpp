#include "CRecordFormDialog.h"

#include "core/MessageService.h"
#include "data/CDaoException.h"
#include "data/CDatabase.h"
#include "data/CRecordset.h"

CRecordFormDialog::CRecordFormDialog(CDatabase& db, const SourceDef& source, const char* keyColumn,
                                     std::int32_t key, QWidget* parent)
    : CFormDialog(parent), m_db(db), m_source(source), m_keyColumn(keyColumn),
      m_key(keyColumn ? key : 0) {}

QString CRecordFormDialog::rowFilter(std::int32_t key) const {
    if (!m_keyColumn)
        return QString();
    return QStringLiteral("[%1]=%2").arg(QString::fromLatin1(m_keyColumn)).arg(key);
}

void CRecordFormDialog::loadRow() {
    m_ready = readRow();
    if (!m_watching) {
        m_fields.watch([this] { setChanged(); });
        m_watching = true;
    }
    setChanged(false);
}

bool CRecordFormDialog::readRow() {
    try {
        // The record set is read and closed here: the form keeps no statement open.
        // A new row's key finds nothing; the read still tells whether the table can be read.
        CRecordset row(m_db, m_source);
        row.open(rowFilter(m_key));
        if (row.atEnd()) {
            if (m_keyColumn)
                m_key = -1;
            m_fields.clear();
            showNewRow();
        } else {
            if (m_keyColumn)
                m_key = row.getLong(m_keyColumn);
            m_fields.load(row);
            showRow(row);
        }
    } catch (const CDaoException& error) {
        MessageService::stop(parentWidget() ? parentWidget() : this, error.description());
        return false;
    }
    return true;
}

bool CRecordFormDialog::writeRow() {
    CRecordset row(m_db, m_source);
    try {
        CDbTransaction transaction(m_db);
        row.open(rowFilter(m_key));
        // A row deleted meanwhile is written anew: what the user typed is not lost.
        const bool adding = row.atEnd();
        if (adding)
            row.addNew();
        else
            row.edit();
        m_fields.store(row);
        storeRow(row, adding);
        row.update();
        row.moveToBookmark(row.lastModified());
        storeDependents(row, adding);
        transaction.commit();
        if (m_keyColumn)
            m_key = row.getLong(m_keyColumn);
        return true;
    } catch (const CDaoException& error) {
        if (row.isEditing())
            row.cancelUpdate();
        MessageService::stop(this, refusalText(error));
        return false;
    }
}

QString CRecordFormDialog::refusalText(const CDaoException& error) {
    return m_fields.explain(error);
}

bool CRecordFormDialog::save() {
    if (!m_ready) {
        MessageService::stop(this, QStringLiteral("Der Datensatz konnte nicht gelesen werden und "
                                                  "wird deshalb nicht gespeichert."));
        return false;
    }
    if (!m_fields.read() || !checkInput() || !writeRow())
        return false;
    // What is stored is shown again: amounts as stored, lists as they are now. The row is
    // stored even when that read fails; the form then saves no more.
    m_ready = readRow();
    markSaved();
    rowSaved();
    return true;
}
