#pragma once

#include "CDatabase.h"
#include "JetFilter.h"
#include "Schema.h"
#include "StatementCache.h"

#include <QDateTime>
#include <QString>
#include <QVariant>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A dynaset on one table or saved query: opened with a filter and a sort string, walked row by
// row, with rows added, changed and deleted through it.
//
// Columns are addressed by name ("EArt") or by their index in binding order. Dates are
// wall-clock values without a time zone; they come back as QDateTime with Qt::UTC so that no
// daylight-saving rule can shift them.
//
// Reading is lazy: rows come straight from SQLite while nobody writes. Before any write on the
// connection the remaining rows are pinned by key (tables) or copied (saved queries), so a
// change never disturbs a walk in progress; a row deleted meanwhile is skipped, a changed row
// is read as it is now.
class CRecordset {
public:
    using Bookmark = std::int64_t;

    CRecordset(CDatabase& db, const SourceDef& source);
    virtual ~CRecordset();
    CRecordset(const CRecordset&) = delete;
    CRecordset& operator=(const CRecordset&) = delete;

    const SourceDef& source() const { return m_source; }
    CDatabase& database() const { return m_db; }

    // Filter and sort in the Jet subset; they take effect at the next open().
    void setFilter(const QString& filter) { m_filter = filter; }
    void setSort(const QString& sort) { m_sort = sort; }
    const QString& filter() const { return m_filter; }
    const QString& sort() const { return m_sort; }

    // Runs the source with filter and sort and stands on the first row (or at end).
    void open();
    void open(const QString& filter, const QString& sort = QString());
    bool isOpen() const { return m_state != State::Closed; }
    void close();
    // Runs the same filter and sort again; a pending add or edit is dropped.
    void requery();

    bool atEnd() const;
    void moveNext();

    // --- reading the current row (during add/edit: the values being written) ------------
    // Throws CDaoException UnknownField when the source has no such column.
    int columnIndex(std::string_view name) const {
        const int index = m_source.indexOf(name);
        if (index < 0)
            throwUnknownName(name);
        return index;
    }
    bool isNull(int column) const;
    bool isNull(std::string_view name) const { return isNull(columnIndex(name)); }
    // Long, Integer and Byte columns (and Yes/No as -1/0); 0 when null.
    std::int32_t getLong(int column) const;
    std::int32_t getLong(std::string_view name) const { return getLong(columnIndex(name)); }
    int getInt(int column) const { return getLong(column); }
    int getInt(std::string_view name) const { return getLong(columnIndex(name)); }
    // Single columns (and the whole-number columns); 0 when null.
    float getSingle(int column) const;
    float getSingle(std::string_view name) const { return getSingle(columnIndex(name)); }
    // Yes/No columns; false when null.
    bool getBool(int column) const;
    bool getBool(std::string_view name) const { return getBool(columnIndex(name)); }
    // Date/Time columns; an invalid QDateTime when null.
    QDateTime getDate(int column) const;
    QDateTime getDate(std::string_view name) const { return getDate(columnIndex(name)); }
    // Text columns; a null QString when null, an empty one when empty.
    QString getText(int column) const;
    QString getText(std::string_view name) const { return getText(columnIndex(name)); }
    // Any column as a QVariant of its natural type; an invalid QVariant when null.
    QVariant value(int column) const;
    QVariant value(std::string_view name) const { return value(columnIndex(name)); }

    // --- changing rows ----------------------------------------------------------------------
    // Starts a new row: every column null, Yes/No columns false.
    void addNew();
    // What the caller read of the current row: the row as stored and the columns read since it
    // became current. A form keeps it from showing the row until it saves the row.
    class ReadImage;
    ReadImage readImage() const;

    // Starts changing the current row, compared with the row as it is now.
    void edit();
    // Starts changing the current row, compared with the row as the caller read it earlier.
    void edit(const ReadImage& asRead);
    // During an edit: the caller read this column earlier with this value (shown to the user, or
    // read in another record set); the edit is written only where the column still holds it.
    void expect(int column, const QVariant& asRead);
    void expect(std::string_view name, const QVariant& asRead) {
        expect(columnIndex(name), asRead);
    }
    // Writes the new or changed row; throws CDaoException and keeps the pending values when the
    // database refuses them. After an edit the current row shows what was stored.
    //
    // An edit writes only the columns set to a value other than the one read, and only where
    // every column read still holds the value read (compare on write). Otherwise nothing is
    // written: CDaoException RowChanged names the columns stored differently now and the ones
    // the edit changes; a row deleted meanwhile gives RecordDeleted. Under CDbWriteOver every
    // column set is written and only the row's existence is checked.
    void update();
    void cancelUpdate();
    bool isEditing() const { return m_editMode != EditMode::None; }
    // Removes the current row at once; the row stays current (and unreadable) until moveNext().
    void deleteCurrent();

    void setNull(int column);
    void setNull(std::string_view name) { setNull(columnIndex(name)); }
    void setLong(int column, std::int64_t number);
    void setLong(std::string_view name, std::int64_t number) { setLong(columnIndex(name), number); }
    void setInt(std::string_view name, std::int64_t number) { setLong(columnIndex(name), number); }
    void setSingle(int column, double number);
    void setSingle(std::string_view name, double number) { setSingle(columnIndex(name), number); }
    void setBool(int column, bool flag);
    void setBool(std::string_view name, bool flag) { setBool(columnIndex(name), flag); }
    // Seconds are kept, milliseconds dropped. An invalid QDateTime (QDateTime() included) is
    // refused with CDaoException; use setNull for "no date".
    void setDate(int column, const QDateTime& moment);
    void setDate(std::string_view name, const QDateTime& moment) {
        setDate(columnIndex(name), moment);
    }
    // Stores the text as it is (a null QString stores an empty text; use setNull for null).
    // update() refuses a text with a NUL character or more than Schema::kMaxTextLength
    // characters.
    void setText(int column, const QString& text);
    void setText(std::string_view name, const QString& text) { setText(columnIndex(name), text); }
    // Converts by the column's type; an invalid QVariant stores null.
    void setValue(int column, const QVariant& value);
    void setValue(std::string_view name, const QVariant& value) {
        setValue(columnIndex(name), value);
    }

    // The row written by the last update(); moveToBookmark() makes it the current row.
    Bookmark lastModified() const;
    void moveToBookmark(Bookmark bookmark);

    // Called by the database before any write (see the class comment).
    void stopReadingLive();

private:
    enum class State { Closed, Live, Pinned, Copied };
    enum class EditMode { None, Add, Edit };
    // A stored value as SQLite holds it: null, integer, real or UTF-8 text.
    struct Value {
        enum class Kind : unsigned char { Null, Integer, Real, Text } kind = Kind::Null;
        std::int64_t integer = 0;
        double real = 0.0;
        std::string text;
    };
    using Row = std::vector<Value>;

    // Every column is read through these, so the usual case takes a few comparisons inline and
    // only faults and rows no longer read live go out of line.
    JetType typeOf(int column) const { // throws for a column that does not exist
        if (static_cast<unsigned>(column) >= static_cast<unsigned>(m_source.columnCount()))
            throwUnknownColumn(column);
        return m_source.column(column).type;
    }
    void checkType(int column, bool ok, const char* accessor) const {
        if (!ok)
            throwTypeMismatch(column, accessor);
    }
    // The value of the column in the current row, or nullptr when it is read from the live
    // statement; marks the column as read. Throws without a current row.
    const Value* bufferedValue(int column) const {
        if (m_state == State::Live && m_editMode == EditMode::None && !m_atEnd &&
            !m_currentDeleted &&
            static_cast<unsigned>(column) < static_cast<unsigned>(m_source.columnCount())) {
            m_readIn[static_cast<size_t>(column)] = m_rowSerial;
            return nullptr;
        }
        return bufferedValueSlowly(column);
    }
    const Value* bufferedValueSlowly(int column) const;
    [[noreturn]] void throwUnknownName(std::string_view name) const;
    [[noreturn]] void throwUnknownColumn(int column) const;
    [[noreturn]] void throwTypeMismatch(int column, const char* accessor) const;
    void requireCurrentRow() const;
    void requireEditing(int column) const;
    void requireWritable() const;
    void nextRow() { ++m_rowSerial; }
    bool wasRead(int column) const;
    void storedRow(Row& row) const;
    Value converted(int column, const QVariant& value);
    void throwRowChanged(const std::vector<int>& checked, const std::vector<int>& written);
    void readLiveRow(Row& row) const;
    bool fetchByRowid(Bookmark rowid, Row& row);
    // The server's side of opening, reading a row, and writing.
    void openOnServer();
    void rowFromServer(const PgResult& result, int resultRow, Row& row) const;
    static std::optional<std::string> serverValue(const Value& value);
    long long writeOnServer(const std::string& sql, const std::vector<int>& columns,
                            const Row& values, std::optional<Bookmark> rowid = std::nullopt,
                            const std::vector<int>& checked = {},
                            const Row* checkedValues = nullptr);
    void stepLive();
    void assign(int column, Value value);
    std::string storedText(int column) const;
    double storedReal(int column) const;
    std::int64_t storedInteger(int column) const;
    void checkTexts() const;
    void writeInsert();
    void writeUpdate();

    CDatabase& m_db;
    const SourceDef& m_source;
    const int m_offset; // tables read rowid as column 0
    QString m_filter;
    QString m_sort;

    State m_state = State::Closed;
    bool m_atEnd = true;
    bool m_currentDeleted = false;
    CachedStatement m_live;
    Row m_row;                      // the current row once not read live
    Bookmark m_rowid = 0;           // the current row's rowid once not read live
    std::vector<Bookmark> m_pinned; // rows still to come, by rowid
    std::vector<Row> m_copied;      // rows still to come, as values (saved queries)
    // On a server all rows come at the open; those of a table are read from here until the
    // first write, and by their rowid after it.
    std::vector<Row> m_prefetched;
    bool m_prefetchFresh = false;
    size_t m_next = 0;

    EditMode m_editMode = EditMode::None;
    Row m_edit;
    std::vector<bool> m_dirty;
    Row m_base;                   // the row as read by the caller of edit()
    std::vector<bool> m_baseRead; // the columns the caller read
    // Columns read in the current row: those whose entry holds the row's serial number.
    mutable std::vector<std::uint32_t> m_readIn;
    std::uint32_t m_rowSerial = 1;
    Bookmark m_lastModified = -1;
    // The INSERT of the columns last added, kept for the next row that sets the same columns.
    std::vector<bool> m_insertColumns;
    std::vector<int> m_insertWritten;
    std::string m_insertSql;
};

class CRecordset::ReadImage {
public:
    bool isEmpty() const { return m_values.empty(); }

private:
    friend class CRecordset;
    Row m_values;
    std::vector<bool> m_read;
};

// A Date/Time column's stored text "YYYY-MM-DD HH:MM:SS" as a wall-clock QDateTime (Qt::UTC);
// anything else gives an invalid QDateTime.
QDateTime parseStoredDate(const char* text, int length);

// One record-set class per table and saved query: the class names its source and thereby
// its columns.
#define VORLANTO_RECORDSET(ClassName, SourceName)                                                  \
    class ClassName : public CRecordset {                                                          \
    public:                                                                                        \
        explicit ClassName(CDatabase& db) : CRecordset(db, definition()) {}                        \
        static const SourceDef& definition() {                                                     \
            static const SourceDef& source = Schema::source(SourceName);                           \
            return source;                                                                         \
        }                                                                                          \
    };
