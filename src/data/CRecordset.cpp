#include "CRecordset.h"

#include "CDaoException.h"
#include "PgConnection.h"
#include "ServerDialect.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <sqlite3.h>
#include <stdexcept>

namespace {

CDaoException noCurrentRecord() {
    return CDaoException(CDaoException::NoCurrentRecord,
                         QStringLiteral("Kein aktueller Datensatz."));
}

std::string quotedName(const char* name) {
    return std::string("\"") + name + "\"";
}

std::string storedDate(const QDateTime& moment) {
    const QDate date = moment.date();
    const QTime time = moment.time();
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", date.year(), date.month(),
                  date.day(), time.hour(), time.minute(), time.second());
    return buffer;
}

bool isWholeNumber(JetType type) {
    return type == JetType::Long || type == JetType::Integer || type == JetType::Byte;
}

void throwIfStepFailed(sqlite3* db, int rc) {
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        throw CDaoException::fromSqlite(db, rc);
}

} // namespace

QDateTime parseStoredDate(const char* text, int length) {
    if (!text || length != 19)
        return QDateTime();
    auto number = [text](int from, int digits) {
        int value = 0;
        for (int i = from; i < from + digits; ++i) {
            if (text[i] < '0' || text[i] > '9')
                return -1;
            value = value * 10 + (text[i] - '0');
        }
        return value;
    };
    const QDate date(number(0, 4), number(5, 2), number(8, 2));
    const QTime time(number(11, 2), number(14, 2), number(17, 2));
    if (!date.isValid() || !time.isValid())
        return QDateTime();
    return QDateTime(date, time, Qt::UTC);
}

CRecordset::CRecordset(CDatabase& db, const SourceDef& source)
    : m_db(db), m_source(source), m_offset(source.isView() ? 0 : 1) {}

CRecordset::~CRecordset() {
    close();
}

// --- opening and walking ------------------------------------------------------------------

void CRecordset::open(const QString& filter, const QString& sort) {
    m_filter = filter;
    m_sort = sort;
    open();
}

void CRecordset::open() {
    close();
    if (m_db.server())
        return openOnServer();
    m_live = m_db.prepareSelect(m_source, m_filter, m_sort);
    m_state = State::Live;
    m_readIn.assign(static_cast<size_t>(m_source.columnCount()), 0);
    nextRow();
    m_db.attach(this);
    try {
        stepLive();
    } catch (...) {
        close();
        throw;
    }
}

void CRecordset::stepLive() {
    const int rc = sqlite3_step(m_live.get());
    throwIfStepFailed(m_db.handle(), rc);
    m_atEnd = rc != SQLITE_ROW;
    if (m_atEnd)
        m_live.reset();
}

void CRecordset::close() {
    if (m_state == State::Closed)
        return;
    m_live.reset();
    m_db.detach(this);
    m_state = State::Closed;
    m_atEnd = true;
    m_currentDeleted = false;
    m_row.clear();
    m_pinned.clear();
    m_copied.clear();
    m_prefetched.clear();
    m_prefetchFresh = false;
    m_next = 0;
    m_editMode = EditMode::None;
    m_edit.clear();
    m_dirty.clear();
    m_base.clear();
    m_baseRead.clear();
    nextRow();
}

void CRecordset::requery() {
    open();
}

bool CRecordset::atEnd() const {
    return m_atEnd;
}

void CRecordset::moveNext() {
    if (m_state == State::Closed || m_atEnd)
        throw noCurrentRecord();
    m_editMode = EditMode::None;
    m_currentDeleted = false;
    nextRow();
    switch (m_state) {
    case State::Live:
        stepLive();
        return;
    case State::Pinned:
        if (m_prefetchFresh) {
            if (m_next < m_pinned.size()) {
                m_row = std::move(m_prefetched[m_next]);
                m_rowid = m_pinned[m_next++];
                return;
            }
            m_atEnd = true;
            return;
        }
        while (m_next < m_pinned.size()) {
            const Bookmark rowid = m_pinned[m_next++];
            if (fetchByRowid(rowid, m_row)) {
                m_rowid = rowid;
                return;
            }
        }
        m_atEnd = true;
        return;
    case State::Copied:
        if (m_next < m_copied.size()) {
            m_row = std::move(m_copied[m_next++]);
            return;
        }
        m_atEnd = true;
        return;
    case State::Closed:
        break;
    }
}

void CRecordset::stopReadingLive() {
    // A server's rows read at the open may be old after a write: the rest is read again.
    if (m_prefetchFresh) {
        m_prefetchFresh = false;
        m_prefetched.clear();
    }
    if (m_state != State::Live)
        return;
    const bool pinByKey = !m_source.isView();
    if (!m_atEnd) {
        readLiveRow(m_row);
        if (pinByKey)
            m_rowid = sqlite3_column_int64(m_live.get(), 0);
        for (;;) {
            const int rc = sqlite3_step(m_live.get());
            throwIfStepFailed(m_db.handle(), rc);
            if (rc != SQLITE_ROW)
                break;
            if (pinByKey) {
                m_pinned.push_back(sqlite3_column_int64(m_live.get(), 0));
            } else {
                m_copied.emplace_back();
                readLiveRow(m_copied.back());
            }
        }
    }
    m_live.reset();
    m_next = 0;
    m_state = pinByKey ? State::Pinned : State::Copied;
}

void CRecordset::readLiveRow(Row& row) const {
    sqlite3_stmt* statement = m_live.get();
    const int count = m_source.columnCount();
    row.resize(static_cast<size_t>(count));
    for (int c = 0; c < count; ++c) {
        Value& value = row[static_cast<size_t>(c)];
        const int at = c + m_offset;
        switch (sqlite3_column_type(statement, at)) {
        case SQLITE_INTEGER:
            value.kind = Value::Kind::Integer;
            value.integer = sqlite3_column_int64(statement, at);
            break;
        case SQLITE_FLOAT:
            value.kind = Value::Kind::Real;
            value.real = sqlite3_column_double(statement, at);
            break;
        case SQLITE_NULL:
            value.kind = Value::Kind::Null;
            break;
        default:
            value.kind = Value::Kind::Text;
            value.text.assign(reinterpret_cast<const char*>(sqlite3_column_text(statement, at)),
                              static_cast<size_t>(sqlite3_column_bytes(statement, at)));
            break;
        }
    }
}

bool CRecordset::fetchByRowid(Bookmark rowid, Row& row) {
    if (m_db.server()) {
        const PgResult result =
            m_db.serverQuery(m_source.selectByRowid(), {std::to_string(rowid)}, false);
        if (result.rowCount() == 0)
            return false;
        rowFromServer(result, 0, row);
        return true;
    }
    CachedStatement saved = std::move(m_live);
    m_live = m_db.prepare(m_source.selectByRowid());
    sqlite3_bind_int64(m_live.get(), 1, rowid);
    const int rc = sqlite3_step(m_live.get());
    const bool found = rc == SQLITE_ROW;
    if (found)
        readLiveRow(row);
    m_live = std::move(saved);
    throwIfStepFailed(m_db.handle(), rc);
    return found;
}

void CRecordset::openOnServer() {
    const Jet::Translation where = Jet::translateFilter(m_filter, m_source, Jet::Dialect::Server);
    const std::string order = Jet::translateSort(m_sort, m_source, Jet::Dialect::Server);
    const std::string sql = m_source.select(where.sql, order);
    std::vector<std::optional<std::string>> values;
    for (const Jet::Parameter& parameter : where.parameters)
        values.emplace_back(ServerDialect::parameterText(parameter));
    const PgResult result = m_db.serverQuery(sql, values, false);
    m_readIn.assign(static_cast<size_t>(m_source.columnCount()), 0);
    nextRow();
    m_db.attach(this);
    const int rows = result.rowCount();
    if (m_source.isView()) {
        m_copied.resize(static_cast<size_t>(rows));
        for (int r = 0; r < rows; ++r)
            rowFromServer(result, r, m_copied[static_cast<size_t>(r)]);
        m_state = State::Copied;
    } else {
        m_pinned.resize(static_cast<size_t>(rows));
        m_prefetched.resize(static_cast<size_t>(rows));
        for (int r = 0; r < rows; ++r) {
            m_pinned[static_cast<size_t>(r)] =
                std::strtoll(std::string(result.text(r, 0)).c_str(), nullptr, 10);
            rowFromServer(result, r, m_prefetched[static_cast<size_t>(r)]);
        }
        m_prefetchFresh = true;
        m_state = State::Pinned;
    }
    m_next = 0;
    m_atEnd = false;
    // Stands on the first row, as a walk from the start does.
    moveNext();
}

// The values of a server's row as the file holds them: whole numbers and Yes/No as integers,
// Single values as the float written, dates and texts as text.
void CRecordset::rowFromServer(const PgResult& result, int resultRow, Row& row) const {
    const int count = m_source.columnCount();
    row.resize(static_cast<size_t>(count));
    for (int c = 0; c < count; ++c) {
        Value& value = row[static_cast<size_t>(c)];
        const int at = c + m_offset;
        if (result.isNull(resultRow, at)) {
            value.kind = Value::Kind::Null;
            continue;
        }
        const std::string_view text = result.text(resultRow, at);
        switch (m_source.column(c).type) {
        case JetType::Single:
            value.kind = Value::Kind::Real;
            value.real = static_cast<double>(std::strtof(std::string(text).c_str(), nullptr));
            break;
        case JetType::Text:
        case JetType::DateTime:
            value.kind = Value::Kind::Text;
            value.text.assign(text.data(), text.size());
            break;
        default:
            value.kind = Value::Kind::Integer;
            value.integer = std::strtoll(std::string(text).c_str(), nullptr, 10);
        }
    }
}

std::optional<std::string> CRecordset::serverValue(const Value& value) {
    switch (value.kind) {
    case Value::Kind::Null:
        return std::nullopt;
    case Value::Kind::Integer:
        return std::to_string(value.integer);
    case Value::Kind::Real: // only Single columns hold real numbers
        return ServerDialect::singleText(value.real);
    case Value::Kind::Text:
        break;
    }
    return value.text;
}

long long CRecordset::writeOnServer(const std::string& sql, const std::vector<int>& columns,
                                    const Row& values, std::optional<Bookmark> rowid,
                                    const std::vector<int>& checked, const Row* checkedValues) {
    std::vector<std::optional<std::string>> parameters;
    for (int c : columns)
        parameters.push_back(serverValue(values[static_cast<size_t>(c)]));
    if (rowid)
        parameters.emplace_back(std::to_string(*rowid));
    for (int c : checked)
        parameters.push_back(serverValue((*checkedValues)[static_cast<size_t>(c)]));
    const PgResult result = m_db.serverQuery(sql, parameters, true);
    // An insert gives the new row's number back.
    if (result.columnCount() > 0 && result.rowCount() > 0)
        m_lastModified = std::strtoll(std::string(result.text(0, 0)).c_str(), nullptr, 10);
    return result.changedRows();
}

// --- reading ------------------------------------------------------------------------------

void CRecordset::throwUnknownName(std::string_view name) const {
    throw CDaoException(CDaoException::UnknownField,
                        QStringLiteral("Das Feld [%1] gibt es in [%2] nicht.")
                            .arg(QString::fromUtf8(name.data(), static_cast<int>(name.size())),
                                 QString::fromUtf8(m_source.name())));
}

void CRecordset::throwUnknownColumn(int column) const {
    throw CDaoException(CDaoException::UnknownField,
                        QStringLiteral("Spalte %1 gibt es in [%2] nicht.")
                            .arg(column)
                            .arg(QString::fromUtf8(m_source.name())));
}

void CRecordset::requireCurrentRow() const {
    if (m_editMode != EditMode::None)
        return;
    if (m_state == State::Closed || m_atEnd)
        throw noCurrentRecord();
    if (m_currentDeleted)
        throw CDaoException(CDaoException::RecordDeleted,
                            QStringLiteral("Der Datensatz wurde gelöscht."));
}

const CRecordset::Value* CRecordset::bufferedValueSlowly(int column) const {
    requireCurrentRow();
    if (column < 0 || column >= m_source.columnCount())
        throwUnknownColumn(column);
    m_readIn[static_cast<size_t>(column)] = m_rowSerial;
    if (m_editMode != EditMode::None)
        return &m_edit[static_cast<size_t>(column)];
    if (m_state == State::Live)
        return nullptr;
    return &m_row[static_cast<size_t>(column)];
}

bool CRecordset::wasRead(int column) const {
    return m_readIn[static_cast<size_t>(column)] == m_rowSerial;
}

void CRecordset::storedRow(Row& row) const {
    if (m_state == State::Live)
        readLiveRow(row);
    else
        row = m_row;
}

CRecordset::ReadImage CRecordset::readImage() const {
    requireCurrentRow();
    if (m_state == State::Closed || m_atEnd || m_currentDeleted)
        throw noCurrentRecord();
    ReadImage image;
    storedRow(image.m_values);
    image.m_read.resize(image.m_values.size());
    for (int c = 0; c < m_source.columnCount(); ++c)
        image.m_read[static_cast<size_t>(c)] = wasRead(c);
    return image;
}

void CRecordset::throwTypeMismatch(int column, const char* accessor) const {
    throw CDaoException(CDaoException::TypeMismatch,
                        QStringLiteral("Das Feld [%1] (%2) kann nicht mit %3 gelesen oder "
                                       "geschrieben werden.")
                            .arg(QString::fromUtf8(m_source.column(column).name),
                                 QString::fromUtf8(jetTypeName(typeOf(column))),
                                 QString::fromUtf8(accessor)));
}

bool CRecordset::isNull(int column) const {
    if (const Value* value = bufferedValue(column))
        return value->kind == Value::Kind::Null;
    return sqlite3_column_type(m_live.get(), column + m_offset) == SQLITE_NULL;
}

std::int64_t CRecordset::storedInteger(int column) const {
    if (const Value* value = bufferedValue(column)) {
        switch (value->kind) {
        case Value::Kind::Integer:
            return value->integer;
        case Value::Kind::Real:
            return static_cast<std::int64_t>(value->real);
        case Value::Kind::Text:
            return std::strtoll(value->text.c_str(), nullptr, 10);
        case Value::Kind::Null:
            return 0;
        }
    }
    return sqlite3_column_int64(m_live.get(), column + m_offset);
}

double CRecordset::storedReal(int column) const {
    if (const Value* value = bufferedValue(column)) {
        switch (value->kind) {
        case Value::Kind::Integer:
            return static_cast<double>(value->integer);
        case Value::Kind::Real:
            return value->real;
        case Value::Kind::Text:
            return std::strtod(value->text.c_str(), nullptr);
        case Value::Kind::Null:
            return 0.0;
        }
    }
    return sqlite3_column_double(m_live.get(), column + m_offset);
}

std::int32_t CRecordset::getLong(int column) const {
    const JetType type = typeOf(column);
    checkType(column, isWholeNumber(type) || type == JetType::YesNo, "getLong");
    return static_cast<std::int32_t>(storedInteger(column));
}

float CRecordset::getSingle(int column) const {
    const JetType type = typeOf(column);
    checkType(column, type == JetType::Single || isWholeNumber(type), "getSingle");
    return static_cast<float>(storedReal(column));
}

bool CRecordset::getBool(int column) const {
    checkType(column, typeOf(column) == JetType::YesNo, "getBool");
    return storedInteger(column) != 0;
}

QDateTime CRecordset::getDate(int column) const {
    checkType(column, typeOf(column) == JetType::DateTime, "getDate");
    if (const Value* value = bufferedValue(column)) {
        if (value->kind != Value::Kind::Text)
            return QDateTime();
        return parseStoredDate(value->text.data(), static_cast<int>(value->text.size()));
    }
    sqlite3_stmt* statement = m_live.get();
    const int at = column + m_offset;
    if (sqlite3_column_type(statement, at) != SQLITE_TEXT)
        return QDateTime();
    return parseStoredDate(reinterpret_cast<const char*>(sqlite3_column_text(statement, at)),
                           sqlite3_column_bytes(statement, at));
}

QString CRecordset::getText(int column) const {
    checkType(column, typeOf(column) == JetType::Text, "getText");
    if (const Value* value = bufferedValue(column)) {
        if (value->kind == Value::Kind::Null)
            return QString();
        if (value->text.empty())
            return QLatin1String("");
        return QString::fromUtf8(value->text.data(), static_cast<int>(value->text.size()));
    }
    sqlite3_stmt* statement = m_live.get();
    const int at = column + m_offset;
    const char* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, at));
    if (!text)
        return QString();
    const int bytes = sqlite3_column_bytes(statement, at);
    if (bytes == 0)
        return QLatin1String("");
    return QString::fromUtf8(text, bytes);
}

QVariant CRecordset::value(int column) const {
    if (isNull(column))
        return QVariant();
    switch (typeOf(column)) {
    case JetType::Long:
    case JetType::Integer:
    case JetType::Byte:
        return QVariant(getLong(column));
    case JetType::Single:
        return QVariant(getSingle(column));
    case JetType::YesNo:
        return QVariant(getBool(column));
    case JetType::DateTime:
        return QVariant(getDate(column));
    case JetType::Text:
        return QVariant(getText(column));
    }
    return QVariant();
}

// --- writing ------------------------------------------------------------------------------

void CRecordset::requireWritable() const {
    if (m_source.isView())
        throw CDaoException(CDaoException::ReadOnly,
                            QStringLiteral("Die Abfrage [%1] kann nur gelesen werden.")
                                .arg(QString::fromUtf8(m_source.name())));
    if (m_state == State::Closed)
        throw CDaoException(CDaoException::NoCurrentRecord,
                            QStringLiteral("Die Datensatzgruppe ist nicht geöffnet."));
}

void CRecordset::requireEditing(int column) const {
    if (m_editMode == EditMode::None)
        throw CDaoException(CDaoException::UpdateWithoutEdit,
                            QStringLiteral("Aktualisieren ohne vorheriges Hinzufügen oder "
                                           "Bearbeiten."));
    if (column < 0 || column >= m_source.columnCount())
        throwUnknownColumn(column);
}

void CRecordset::addNew() {
    requireWritable();
    const size_t count = static_cast<size_t>(m_source.columnCount());
    m_edit.assign(count, Value());
    for (size_t c = 0; c < count; ++c) {
        if (m_source.columns()[c].type == JetType::YesNo) {
            m_edit[c].kind = Value::Kind::Integer;
            m_edit[c].integer = 0;
        }
    }
    m_dirty.assign(count, false);
    m_editMode = EditMode::Add;
}

void CRecordset::edit() {
    requireWritable();
    m_editMode = EditMode::None;
    requireCurrentRow();
    storedRow(m_edit);
    m_dirty.assign(static_cast<size_t>(m_source.columnCount()), false);
    m_base = m_edit;
    m_baseRead.resize(m_base.size());
    for (int c = 0; c < m_source.columnCount(); ++c)
        m_baseRead[static_cast<size_t>(c)] = wasRead(c);
    m_editMode = EditMode::Edit;
}

void CRecordset::edit(const ReadImage& asRead) {
    if (asRead.m_values.size() != static_cast<size_t>(m_source.columnCount()))
        throw std::logic_error("CRecordset::edit: the image belongs to another source");
    requireWritable();
    m_editMode = EditMode::None;
    requireCurrentRow();
    storedRow(m_edit);
    m_dirty.assign(static_cast<size_t>(m_source.columnCount()), false);
    m_base = asRead.m_values;
    m_baseRead = asRead.m_read;
    m_editMode = EditMode::Edit;
}

CRecordset::Value CRecordset::converted(int column, const QVariant& value) {
    // The value as setValue() would store it, without setting the column.
    const size_t at = static_cast<size_t>(column);
    Value kept = m_edit[at];
    const bool dirty = m_dirty[at];
    auto restore = [&] {
        std::swap(m_edit[at], kept);
        m_dirty[at] = dirty;
    };
    try {
        setValue(column, value);
    } catch (...) {
        restore();
        throw;
    }
    restore();
    return kept;
}

void CRecordset::expect(int column, const QVariant& asRead) {
    requireEditing(column);
    if (m_editMode != EditMode::Edit)
        return;
    m_base[static_cast<size_t>(column)] = converted(column, asRead);
    m_baseRead[static_cast<size_t>(column)] = true;
}

void CRecordset::cancelUpdate() {
    m_editMode = EditMode::None;
    m_edit.clear();
    m_dirty.clear();
    m_base.clear();
    m_baseRead.clear();
}

void CRecordset::assign(int column, Value value) {
    m_edit[static_cast<size_t>(column)] = std::move(value);
    m_dirty[static_cast<size_t>(column)] = true;
}

void CRecordset::setNull(int column) {
    requireEditing(column);
    Value value;
    // A Yes/No column cannot hold null: it is false.
    if (typeOf(column) == JetType::YesNo) {
        value.kind = Value::Kind::Integer;
        value.integer = 0;
    }
    assign(column, std::move(value));
}

void CRecordset::setLong(int column, std::int64_t number) {
    requireEditing(column);
    const JetType type = typeOf(column);
    checkType(column, isWholeNumber(type) || type == JetType::Single || type == JetType::YesNo,
              "setLong");
    if (type == JetType::Single)
        return setSingle(column, static_cast<double>(number));
    if (type == JetType::YesNo)
        return setBool(column, number != 0);
    Value value;
    value.kind = Value::Kind::Integer;
    value.integer = number;
    assign(column, std::move(value));
}

void CRecordset::setSingle(int column, double number) {
    requireEditing(column);
    checkType(column, typeOf(column) == JetType::Single, "setSingle");
    if (std::isnan(number))
        throw CDaoException(CDaoException::NumericOverflow,
                            QStringLiteral("Im Feld \"%1\" steht keine gültige Zahl.")
                                .arg(QString::fromUtf8(m_source.column(column).name)));
    Value value;
    value.kind = Value::Kind::Real;
    // Single precision, as the column holds it: what is read back is what was stored.
    value.real = static_cast<double>(static_cast<float>(number));
    assign(column, std::move(value));
}

void CRecordset::setBool(int column, bool flag) {
    requireEditing(column);
    checkType(column, typeOf(column) == JetType::YesNo, "setBool");
    Value value;
    value.kind = Value::Kind::Integer;
    value.integer = flag ? -1 : 0;
    assign(column, std::move(value));
}

void CRecordset::setDate(int column, const QDateTime& moment) {
    requireEditing(column);
    checkType(column, typeOf(column) == JetType::DateTime, "setDate");
    // "No date" is written with setNull. A date-time that is not a valid moment (a day that
    // does not exist, or a default-constructed one, which Qt cannot tell apart) is refused, so
    // a mistaken date never empties the field without a word.
    if (!moment.isValid())
        throw CDaoException(CDaoException::ConversionError,
                            QStringLiteral("Im Feld \"%1\" steht kein gültiges Datum.")
                                .arg(QString::fromUtf8(m_source.column(column).name)));
    Value value;
    value.kind = Value::Kind::Text;
    value.text = storedDate(moment);
    assign(column, std::move(value));
}

void CRecordset::setText(int column, const QString& text) {
    requireEditing(column);
    checkType(column, typeOf(column) == JetType::Text, "setText");
    Value value;
    value.kind = Value::Kind::Text;
    value.text = text.toStdString();
    assign(column, std::move(value));
}

void CRecordset::setValue(int column, const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return setNull(column);
    bool ok = true;
    switch (typeOf(column)) {
    case JetType::Long:
    case JetType::Integer:
    case JetType::Byte: {
        const qlonglong number = value.toLongLong(&ok);
        if (ok)
            return setLong(column, number);
        break;
    }
    case JetType::Single: {
        const double number = value.toDouble(&ok);
        if (ok)
            return setSingle(column, number);
        break;
    }
    case JetType::YesNo:
        return setBool(column, value.toBool());
    case JetType::DateTime:
        ok = value.canConvert<QDateTime>() && value.toDateTime().isValid();
        if (ok)
            return setDate(column, value.toDateTime());
        break;
    case JetType::Text:
        return setText(column, value.toString());
    }
    throw CDaoException(
        CDaoException::ConversionError,
        QStringLiteral("Der Wert \"%1\" passt nicht in das Feld \"%2\".")
            .arg(value.toString(), QString::fromUtf8(m_source.column(column).name)));
}

namespace {

void bindValue(sqlite3_stmt* statement, int index, const std::string& text, int kind,
               std::int64_t integer, double real) {
    switch (kind) {
    case 1:
        sqlite3_bind_int64(statement, index, integer);
        break;
    case 2:
        sqlite3_bind_double(statement, index, real);
        break;
    case 3:
        sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()),
                          SQLITE_TRANSIENT);
        break;
    default:
        sqlite3_bind_null(statement, index);
        break;
    }
}

} // namespace

void CRecordset::update() {
    if (m_editMode == EditMode::None)
        throw CDaoException(CDaoException::UpdateWithoutEdit,
                            QStringLiteral("Aktualisieren ohne vorheriges Hinzufügen oder "
                                           "Bearbeiten."));
    checkTexts();
    m_db.beforeWrite();
    if (m_editMode == EditMode::Add)
        writeInsert();
    else
        writeUpdate();
    m_editMode = EditMode::None;
    m_edit.clear();
    m_dirty.clear();
    m_base.clear();
    m_baseRead.clear();
}

// SQLite's length() ends at a NUL character, so the schema's length check would let a longer
// text through and other programs would read it cut short. Texts are checked here in full.
void CRecordset::checkTexts() const {
    for (int c = 0; c < m_source.columnCount(); ++c) {
        const Value& value = m_edit[static_cast<size_t>(c)];
        if (!m_dirty[static_cast<size_t>(c)] || value.kind != Value::Kind::Text)
            continue;
        const auto name = [&] { return QString::fromUtf8(m_source.column(c).name); };
        if (value.text.find('\0') != std::string::npos)
            throw CDaoException(CDaoException::ConversionError,
                                QStringLiteral("Der Text im Feld \"%1\" enthält ein Nullzeichen "
                                               "und kann nicht gespeichert werden.")
                                    .arg(name()));
        // Characters, not bytes: every byte that does not continue a UTF-8 sequence starts one.
        const auto characters = std::count_if(value.text.begin(), value.text.end(), [](char byte) {
            return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
        });
        if (characters > Schema::kMaxTextLength)
            throw CDaoException(CDaoException::FieldTooSmall,
                                QStringLiteral("Der Text im Feld \"%1\" ist zu lang. Erlaubt sind "
                                               "höchstens %2 Zeichen.")
                                    .arg(name())
                                    .arg(Schema::kMaxTextLength));
    }
}

void CRecordset::writeInsert() {
    // Rows added one after another set the same columns: their statement text is made once.
    if (m_dirty != m_insertColumns || m_insertSql.empty()) {
        std::string columns;
        std::string marks;
        m_insertWritten.clear();
        for (int c = 0; c < m_source.columnCount(); ++c) {
            if (!m_dirty[static_cast<size_t>(c)])
                continue;
            if (!m_insertWritten.empty()) {
                columns += ", ";
                marks += ", ";
            }
            columns += quotedName(m_source.column(c).name);
            marks += "?";
            m_insertWritten.push_back(c);
        }
        const std::string table = quotedName(m_source.name());
        m_insertSql = m_insertWritten.empty()
                          ? "INSERT INTO " + table + " DEFAULT VALUES"
                          : "INSERT INTO " + table + " (" + columns + ") VALUES (" + marks + ")";
        m_insertColumns = m_dirty;
    }
    if (m_db.server()) {
        writeOnServer(m_insertSql + " RETURNING rowid", m_insertWritten, m_edit);
        return;
    }
    CachedStatement statement = m_db.prepare(m_insertSql);
    int index = 1;
    for (int c : m_insertWritten) {
        const Value& value = m_edit[static_cast<size_t>(c)];
        bindValue(statement.get(), index++, value.text, static_cast<int>(value.kind), value.integer,
                  value.real);
    }
    const int rc = sqlite3_step(statement.get());
    if (rc != SQLITE_DONE)
        throw CDaoException::fromSqlite(m_db.handle(), rc);
    m_lastModified = sqlite3_last_insert_rowid(m_db.handle());
}

namespace {

// Whether two stored values are the same: a whole number and a real number of the same value
// are, as SQLite's comparison takes them.
template <class Value> bool sameValue(const Value& a, const Value& b) {
    using Kind = typename Value::Kind;
    if (a.kind == Kind::Integer && b.kind == Kind::Real)
        return static_cast<double>(a.integer) == b.real;
    if (a.kind == Kind::Real && b.kind == Kind::Integer)
        return a.real == static_cast<double>(b.integer);
    if (a.kind != b.kind)
        return false;
    switch (a.kind) {
    case Kind::Null:
        return true;
    case Kind::Integer:
        return a.integer == b.integer;
    case Kind::Real:
        return a.real == b.real;
    case Kind::Text:
        return a.text == b.text;
    }
    return false;
}

} // namespace

void CRecordset::writeUpdate() {
    const bool writeOver = m_db.writesOver();
    std::string sql = "UPDATE " + quotedName(m_source.name()) + " SET ";
    std::vector<int> written;
    for (int c = 0; c < m_source.columnCount(); ++c) {
        const size_t at = static_cast<size_t>(c);
        if (!m_dirty[at] || (!writeOver && sameValue(m_edit[at], m_base[at])))
            continue;
        if (!written.empty())
            sql += ", ";
        sql += quotedName(m_source.column(c).name) + " = ?";
        written.push_back(c);
    }
    if (!written.empty()) {
        sql += " WHERE rowid = ?";
        std::vector<int> checked;
        if (!writeOver) {
            for (int c = 0; c < m_source.columnCount(); ++c) {
                if (!m_baseRead[static_cast<size_t>(c)])
                    continue;
                sql += " AND " + m_db.sameValueCondition(quotedName(m_source.column(c).name));
                checked.push_back(c);
            }
        }
        if (m_db.server()) {
            if (writeOnServer(sql, written, m_edit, m_rowid, checked, &m_base) == 0)
                throwRowChanged(checked, written);
            m_lastModified = m_rowid;
            fetchByRowid(m_rowid, m_row);
            nextRow();
            return;
        }
        CachedStatement statement = m_db.prepare(sql);
        int index = 1;
        auto bind = [&statement, &index](const Value& value) {
            bindValue(statement.get(), index++, value.text, static_cast<int>(value.kind),
                      value.integer, value.real);
        };
        for (int c : written)
            bind(m_edit[static_cast<size_t>(c)]);
        sqlite3_bind_int64(statement.get(), index++, m_rowid);
        for (int c : checked)
            bind(m_base[static_cast<size_t>(c)]);
        const int rc = sqlite3_step(statement.get());
        if (rc != SQLITE_DONE)
            throw CDaoException::fromSqlite(m_db.handle(), rc);
        if (sqlite3_changes(m_db.handle()) == 0)
            throwRowChanged(checked, written);
    }
    m_lastModified = m_rowid;
    fetchByRowid(m_rowid, m_row);
    nextRow();
}

void CRecordset::throwRowChanged(const std::vector<int>& checked, const std::vector<int>& written) {
    Row now;
    if (!fetchByRowid(m_rowid, now))
        throw CDaoException(CDaoException::RecordDeleted,
                            QStringLiteral("Der Datensatz wurde inzwischen gelöscht."));
    QStringList changed;
    for (int c : checked) {
        if (!sameValue(now[static_cast<size_t>(c)], m_base[static_cast<size_t>(c)]))
            changed << QString::fromUtf8(m_source.column(c).name);
    }
    QStringList own;
    for (int c : written)
        own << QString::fromUtf8(m_source.column(c).name);
    CDaoException conflict =
        CDaoException::rowChanged(QString::fromUtf8(m_source.name()), changed, own);
    // The server notes who saved each row last.
    if (m_db.server()) {
        const PgResult who = m_db.serverQuery(
            "SELECT \"Rolle\", to_char(\"Zeit\" AT TIME ZONE current_setting('TimeZone'), "
            "'YYYY-MM-DD\"T\"HH24:MI:SS\"Z\"') FROM \"X_Aenderung\" "
            "WHERE \"Tabelle\" = ? AND \"Zeile\" = ?",
            {std::string(m_source.name()), std::to_string(m_rowid)}, false);
        if (who.rowCount() == 1) {
            const std::string_view role = who.text(0, 0);
            const std::string_view at = who.text(0, 1);
            conflict.setChangedBy(
                QString::fromUtf8(role.data(), int(role.size())),
                QDateTime::fromString(QString::fromUtf8(at.data(), int(at.size())), Qt::ISODate)
                    .toLocalTime());
        }
    }
    throw conflict;
}

void CRecordset::deleteCurrent() {
    requireWritable();
    m_editMode = EditMode::None;
    requireCurrentRow();
    m_db.beforeWrite();
    if (m_db.server()) {
        if (writeOnServer("DELETE FROM " + quotedName(m_source.name()) + " WHERE rowid = ?", {}, {},
                          m_rowid) == 0)
            throw CDaoException(CDaoException::RecordDeleted,
                                QStringLiteral("Der Datensatz wurde inzwischen gelöscht."));
        m_currentDeleted = true;
        return;
    }
    CachedStatement statement =
        m_db.prepare("DELETE FROM " + quotedName(m_source.name()) + " WHERE rowid = ?");
    sqlite3_bind_int64(statement.get(), 1, m_rowid);
    const int rc = sqlite3_step(statement.get());
    if (rc != SQLITE_DONE)
        throw CDaoException::fromSqlite(m_db.handle(), rc);
    // A row someone else deleted since it was read is not there to delete: say so.
    if (sqlite3_changes(m_db.handle()) == 0)
        throw CDaoException(CDaoException::RecordDeleted,
                            QStringLiteral("Der Datensatz wurde inzwischen gelöscht."));
    m_currentDeleted = true;
}

CRecordset::Bookmark CRecordset::lastModified() const {
    return m_lastModified;
}

void CRecordset::moveToBookmark(Bookmark bookmark) {
    requireWritable();
    stopReadingLive();
    Row row;
    if (bookmark < 0 || !fetchByRowid(bookmark, row))
        throw noCurrentRecord();
    m_row = std::move(row);
    m_rowid = bookmark;
    m_atEnd = false;
    nextRow();
    m_currentDeleted = false;
    m_editMode = EditMode::None;
    // The walk goes on after the bookmarked row; a row outside the rest of the walk (already
    // passed, or added since the open) has nothing after it.
    const auto at =
        std::find(m_pinned.begin() + static_cast<std::ptrdiff_t>(m_next), m_pinned.end(), bookmark);
    m_next =
        at == m_pinned.end() ? m_pinned.size() : static_cast<size_t>(at - m_pinned.begin()) + 1;
}
