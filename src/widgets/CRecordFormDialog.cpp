#include "CRecordFormDialog.h"

#include "core/MessageService.h"
#include "data/CDaoException.h"
#include "data/CDatabase.h"
#include "data/CRecordset.h"

#include <optional>
#include <utility>
#include <vector>

CRecordFormDialog::CRecordFormDialog(CDatabase& db, const SourceDef& source, const char* keyColumn,
                                     std::int32_t key, QWidget* parent)
    : CFormDialog(db, parent), m_db(db), m_source(source), m_keyColumn(keyColumn),
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
            m_shown = CRecordset::ReadImage();
        } else {
            if (m_keyColumn)
                m_key = row.getLong(m_keyColumn);
            m_fields.load(row);
            showRow(row);
            m_shown = row.readImage();
        }
    } catch (const CDaoException& error) {
        MessageService::stop(parentWidget() ? parentWidget() : this, error.description());
        return false;
    }
    return true;
}

void CRecordFormDialog::writeOnce() {
    CRecordset row(m_db, m_source);
    try {
        CDbTransaction transaction(m_db);
        row.open(rowFilter(m_key));
        // A row deleted meanwhile is written anew: what the user typed is not lost.
        const bool adding = row.atEnd();
        if (adding)
            row.addNew();
        else if (m_shown.isEmpty())
            row.edit();
        else
            row.edit(m_shown);
        m_fields.store(row);
        storeRow(row, adding);
        row.update();
        row.moveToBookmark(row.lastModified());
        storeDependents(row, adding);
        transaction.commit();
        if (m_keyColumn)
            m_key = row.getLong(m_keyColumn);
    } catch (...) {
        if (row.isEditing())
            row.cancelUpdate();
        throw;
    }
}

bool CRecordFormDialog::writeRow() {
    bool writeOver = false;
    for (;;) {
        try {
            std::optional<CDbWriteOver> over;
            if (writeOver)
                over.emplace(m_db);
            writeOnce();
            return true;
        } catch (const CDaoException& error) {
            if (error.code() != CDaoException::RowChanged || writeOver) {
                MessageService::stop(this, refusalText(error));
                return false;
            }
            switch (MessageService::askYesNoCancel(this, conflictText(error))) {
            case MessageService::Answer::Yes:
                takeStoredValues(error);
                return false;
            case MessageService::Answer::No:
                writeOver = true;
                break;
            default:
                return false;
            }
        }
    }
}

QString CRecordFormDialog::fieldLabel(const QString& table, const QString& column) const {
    if (table == QString::fromUtf8(m_source.name())) {
        const QByteArray name = column.toUtf8();
        const QString label = m_fields.label(std::string_view(name.constData(), name.size()));
        if (!label.isEmpty())
            return label;
    }
    return column;
}

QString CRecordFormDialog::conflictText(const CDaoException& conflict) const {
    auto labels = [&](const QStringList& columns) {
        QStringList names;
        for (const QString& column : columns) {
            const QString label = fieldLabel(conflict.table(), column);
            if (!names.contains(label))
                names << label;
        }
        QString text = names.isEmpty() ? QStringLiteral("keine") : names.join(QStringLiteral(", "));
        // A label ending in an abbreviation ("Preis pro Übern.") ends the sentence as it is.
        if (!text.endsWith(u'.'))
            text += u'.';
        return text;
    };
    return QStringLiteral("Der Datensatz wurde inzwischen%3 geändert: %1 Ihre Änderungen: %2\n\n"
                          "Sollen die gespeicherten Werte in das Formular übernommen werden "
                          "(Ihre übrigen Änderungen bleiben erhalten)? Mit \"Nein\" werden Ihre "
                          "Werte darüber gespeichert.")
        .arg(labels(conflict.changedColumns()), labels(conflict.ownColumns()),
             conflict.changedByText());
}

void CRecordFormDialog::takeStoredValues(const CDaoException& conflict) {
    const bool ownRow = conflict.table() == QString::fromUtf8(m_source.name());
    try {
        CRecordset row(m_db, m_source);
        row.open(rowFilter(m_key));
        if (row.atEnd()) {
            // Deleted meanwhile: the next save writes the form's values as a new row.
            m_shown = CRecordset::ReadImage();
            return;
        }
        std::vector<std::pair<QByteArray, QVariant>> stored;
        if (ownRow) {
            for (const QString& column : conflict.changedColumns()) {
                QByteArray name = column.toUtf8();
                const QVariant value = row.value(std::string_view(name.constData(), name.size()));
                stored.emplace_back(std::move(name), value);
            }
        }
        // The bindings take the stored row as the one shown; the fields then show it with the
        // user's values, except where someone else changed the row. Dependent rows are shown
        // as stored by showRow().
        m_fields.load(row);
        row.edit();
        m_fields.store(row);
        storeRow(row, false);
        for (const auto& [name, value] : stored)
            row.setValue(std::string_view(name.constData(), name.size()), value);
        m_fields.showEdited(row);
        showRow(row);
        m_shown = row.readImage();
        row.cancelUpdate();
    } catch (const CDaoException& error) {
        MessageService::stop(this, error.description());
    }
    setChanged();
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
