#include "CDaoException.h"

#include <QStringList>

#include <sqlite3.h>

CDaoException::CDaoException(int code, QString description, int engineCode)
    : m_code(code), m_description(std::move(description)), m_engineCode(engineCode),
      m_what(m_description.toStdString()) {}

CDaoException CDaoException::rowChanged(const QString& table, const QStringList& changedColumns,
                                        const QStringList& ownColumns) {
    const QString none = QStringLiteral("keine");
    CDaoException error(
        RowChanged,
        QStringLiteral("Der Datensatz wurde inzwischen geändert: %1. Ihre "
                       "Änderungen: %2.")
            .arg(changedColumns.isEmpty() ? none : changedColumns.join(QStringLiteral(", ")),
                 ownColumns.isEmpty() ? none : ownColumns.join(QStringLiteral(", "))));
    error.m_table = table;
    error.m_changedColumns = changedColumns;
    error.m_ownColumns = ownColumns;
    return error;
}

void CDaoException::setChangedBy(const QString& who, const QDateTime& when) {
    m_changedBy = who;
    m_changedAt = when;
    if (who.isEmpty())
        return;
    // The description names the person too, for callers that show it as it is.
    m_description.replace(QStringLiteral("wurde inzwischen geändert"),
                          QStringLiteral("wurde inzwischen%1 geändert").arg(changedByText()));
    m_what = m_description.toStdString();
}

QString CDaoException::changedByText() const {
    if (m_changedBy.isEmpty())
        return QString();
    return QStringLiteral(" von %1 (%2)")
        .arg(m_changedBy, m_changedAt.toString(QStringLiteral("dd.MM.yyyy HH:mm")));
}

namespace {

QString columnOf(const QString& qualified) {
    const int dot = qualified.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? qualified.trimmed() : qualified.mid(dot + 1).trimmed();
}

// The check that refused the value is named "<type>_<column>" (see the schemas).
} // namespace

CDaoException CDaoException::checkFailure(const QString& name, const QString& engineText,
                                          int engineCode) {
    const int underscore = name.indexOf(QLatin1Char('_'));
    if (underscore < 0)
        return CDaoException(CDaoException::EngineError, engineText, engineCode);
    const QString kind = name.left(underscore);
    const QString column = name.mid(underscore + 1);
    if (kind == QLatin1String("Text"))
        return CDaoException(CDaoException::FieldTooSmall,
                             QStringLiteral("Der Text im Feld \"%1\" ist zu lang. Erlaubt sind "
                                            "höchstens 255 Zeichen.")
                                 .arg(column),
                             engineCode);
    if (kind == QLatin1String("Long") || kind == QLatin1String("Integer") ||
        kind == QLatin1String("Byte") || kind == QLatin1String("Single")) {
        QString range;
        if (kind == QLatin1String("Long"))
            range = QStringLiteral(" (erlaubt: -2147483648 bis 2147483647)");
        else if (kind == QLatin1String("Integer"))
            range = QStringLiteral(" (erlaubt: -32768 bis 32767)");
        else if (kind == QLatin1String("Byte"))
            range = QStringLiteral(" (erlaubt: 0 bis 255)");
        return CDaoException(CDaoException::NumericOverflow,
                             QStringLiteral("Die Zahl im Feld \"%1\" liegt außerhalb des "
                                            "zulässigen Bereichs%2.")
                                 .arg(column, range),
                             engineCode);
    }
    if (kind == QLatin1String("Date"))
        return CDaoException(
            CDaoException::ConversionError,
            QStringLiteral("Im Feld \"%1\" steht kein gültiges Datum.").arg(column), engineCode);
    if (kind == QLatin1String("YesNo"))
        return CDaoException(
            CDaoException::ConversionError,
            QStringLiteral("Im Feld \"%1\" ist nur Ja oder Nein zulässig.").arg(column),
            engineCode);
    return CDaoException(CDaoException::EngineError, engineText, engineCode);
}

CDaoException CDaoException::duplicateKey(const QStringList& columns, int engineCode) {
    return CDaoException(CDaoException::DuplicateKey,
                         QStringLiteral("Die Änderung wurde nicht gespeichert, weil es bereits "
                                        "einen Datensatz mit denselben Werten gibt (%1).")
                             .arg(columns.join(QStringLiteral(", "))),
                         engineCode);
}

CDaoException CDaoException::fromSqlite(sqlite3* db, int resultCode, const QString& knownName) {
    const int extended = db ? sqlite3_extended_errcode(db) : resultCode;
    const QString engineText =
        db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(resultCode));
    QString fileName = db ? QString::fromUtf8(sqlite3_db_filename(db, "main")) : QString();
    if (fileName.isEmpty())
        fileName = knownName;

    switch (extended) {
    case SQLITE_CONSTRAINT_UNIQUE:
    case SQLITE_CONSTRAINT_PRIMARYKEY: {
        QString columns = engineText.section(QLatin1Char(':'), 1).trimmed();
        QStringList names;
        for (const QString& part : columns.split(QLatin1Char(','), Qt::SkipEmptyParts))
            names << columnOf(part);
        return duplicateKey(names, extended);
    }
    case SQLITE_CONSTRAINT_NOTNULL:
        return CDaoException(Required,
                             QStringLiteral("Das Feld \"%1\" muss einen Wert enthalten.")
                                 .arg(columnOf(engineText.section(QLatin1Char(':'), 1))),
                             extended);
    case SQLITE_CONSTRAINT_CHECK: {
        // "CHECK constraint failed: Text_Firma"
        const QString marker = QStringLiteral("CHECK constraint failed: ");
        const int at = engineText.indexOf(marker);
        return checkFailure(at < 0 ? QString() : engineText.mid(at + marker.size()).trimmed(),
                            engineText, extended);
    }
    default:
        break;
    }

    switch (extended & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return CDaoException(Locked,
                             QStringLiteral("Die Datenbank ist zurzeit von einem anderen Programm "
                                            "gesperrt. Bitte versuchen Sie es gleich noch einmal."),
                             extended);
    case SQLITE_READONLY:
        return CDaoException(ReadOnly,
                             QStringLiteral("Die Datenbank ist schreibgeschützt. Änderungen "
                                            "können nicht gespeichert werden."),
                             extended);
    case SQLITE_NOTADB:
        return CDaoException(NotADatabase,
                             QStringLiteral("Die Datei %1 ist keine Datenbank (nicht erkanntes "
                                            "Datenbankformat).")
                                 .arg(fileName),
                             extended);
    case SQLITE_CORRUPT:
        return CDaoException(
            Corrupt, QStringLiteral("Die Datenbank %1 ist beschädigt.").arg(fileName), extended);
    case SQLITE_FULL:
        return CDaoException(DiskFull,
                             QStringLiteral("Auf dem Datenträger ist nicht genügend Speicherplatz "
                                            "frei. Die Änderung wurde nicht gespeichert."),
                             extended);
    case SQLITE_CANTOPEN:
        return CDaoException(
            CannotOpen,
            QStringLiteral("Die Datenbank %1 kann nicht geöffnet werden.").arg(fileName), extended);
    case SQLITE_IOERR:
        return CDaoException(IoError,
                             QStringLiteral("Beim Lesen oder Schreiben der Datenbank ist ein "
                                            "Fehler des Datenträgers aufgetreten."),
                             extended);
    default:
        return CDaoException(EngineError, engineText, extended);
    }
}
