#include "SetList.h"

#include "data/CDatabase.h"
#include "data/RecordSets.h"
#include "data/Schema.h"

#include <algorithm>

namespace SetList {

namespace {

// The stored columns of a song, in the order of the list's columns.
const char* const kStoredColumns[kColumnCount] = {"Titel",      "Tonart",     "Tempo", "Bemerkung",
                                                  "Interpret",  "GemaWerkNr", "pf",    "Komponist",
                                                  "Bearbeiter", "Verleger"};

QStringList tenColumns(QStringList columns) {
    while (columns.size() < kColumnCount)
        columns.append(QString());
    while (columns.size() > kColumnCount)
        columns.removeLast();
    return columns;
}

bool isRow(const Entries& entries, int row) {
    return row >= 0 && row < static_cast<int>(entries.size());
}

QString filterForEvent(std::int32_t eventId) {
    return QString::asprintf("[EventID]=%ld", long(eventId));
}

// Deletes the heads; the schema's trigger takes their songs with them.
void deleteHeads(CDatabase& db, std::int32_t eventId) {
    CSetEventSetliste heads(db);
    for (heads.open(filterForEvent(eventId)); !heads.atEnd(); heads.moveNext())
        heads.deleteCurrent();
}

} // namespace

Entry Entry::song(const QStringList& columns) {
    return {0, tenColumns(columns)};
}

QString headerText(int setNumber) {
    return QStringLiteral("Set %1").arg(setNumber);
}

QString headName(const QString& eventKind, const QDateTime& begin) {
    const QString date =
        begin.isValid() ? begin.date().toString(QStringLiteral("dd.MM.yy")) : QString();
    return QStringLiteral("%1_%2").arg(eventKind, date).left(Schema::kMaxTextLength);
}

Entries emptyList() {
    return {Entry::header(1)};
}

Entries fromStored(const std::vector<StoredSong>& songs) {
    Entries entries = emptyList();
    int set = 1;
    for (const StoredSong& song : songs) {
        while (set < song.setNumber)
            entries.push_back(Entry::header(++set));
        entries.push_back(Entry::song(song.columns));
    }
    return entries;
}

std::vector<StoredSong> toStored(const Entries& entries) {
    Entries ordered = entries;
    renumber(ordered);
    std::vector<StoredSong> songs;
    int set = 1;
    int position = 1;
    for (const Entry& entry : ordered) {
        if (entry.isHeader()) {
            set = entry.setNumber;
            position = 1;
        } else {
            songs.push_back({set, position++, tenColumns(entry.columns)});
        }
    }
    return songs;
}

bool hasSongs(const Entries& entries) {
    return std::any_of(entries.begin(), entries.end(),
                       [](const Entry& entry) { return !entry.isHeader(); });
}

void renumber(Entries& entries) {
    if (entries.empty() || !entries.front().isHeader())
        entries.insert(entries.begin(), Entry::header(1));
    int set = 0;
    for (Entry& entry : entries) {
        if (entry.isHeader())
            entry.setNumber = ++set;
    }
}

int addSet(Entries& entries) {
    renumber(entries);
    const int sets = static_cast<int>(std::count_if(
        entries.begin(), entries.end(), [](const Entry& entry) { return entry.isHeader(); }));
    entries.push_back(Entry::header(sets + 1));
    return static_cast<int>(entries.size()) - 1;
}

int insertSong(Entries& entries, int after, const QStringList& columns) {
    renumber(entries);
    const int row = isRow(entries, after) ? after + 1 : static_cast<int>(entries.size());
    entries.insert(entries.begin() + row, Entry::song(columns));
    return row;
}

bool removeRow(Entries& entries, int row) {
    if (row <= 0 || !isRow(entries, row))
        return false;
    entries.erase(entries.begin() + row);
    renumber(entries);
    return true;
}

int moveRow(Entries& entries, int from, int to) {
    if (from <= 0 || !isRow(entries, from))
        return -1;
    const Entry moved = entries[size_t(from)];
    entries.erase(entries.begin() + from);
    const int size = static_cast<int>(entries.size());
    // The moved row takes the target's place; below the last row or on no row, the end.
    int row = to < 0 || to > size ? size : to;
    row = std::max(row, 1);
    entries.insert(entries.begin() + row, moved);
    renumber(entries);
    return row;
}

Entries load(CDatabase& db, std::int32_t eventId) {
    std::vector<StoredSong> songs;
    CSetAbfrEventSetliste query(db);
    for (query.open(filterForEvent(eventId), QStringLiteral("[SetNr], [LfdNr]")); !query.atEnd();
         query.moveNext()) {
        StoredSong song;
        song.setNumber = query.getInt("SetNr");
        song.position = query.getInt("LfdNr");
        for (int column = 0; column < kColumnCount; ++column) {
            if (column != kTempoColumn) {
                song.columns.append(query.getText(kStoredColumns[column]));
                continue;
            }
            // A tempo below 1 is no tempo.
            const int tempo = query.isNull("Tempo") ? 0 : query.getInt("Tempo");
            song.columns.append(tempo >= 1 ? QString::number(tempo) : QString());
        }
        songs.push_back(song);
    }
    return fromStored(songs);
}

bool store(CDatabase& db, std::int32_t eventId, const QString& name, const Entries& entries) {
    const std::vector<StoredSong> songs = toStored(entries);
    CDbTransaction transaction(db);
    deleteHeads(db, eventId);
    if (songs.empty()) {
        transaction.commit();
        return false;
    }
    CSetEventSetliste head(db);
    head.open(filterForEvent(eventId));
    head.addNew();
    head.setLong("EventID", eventId);
    head.setText("Bezeichnung", name);
    head.update();
    head.moveToBookmark(head.lastModified());
    const std::int32_t headId = head.getLong("SetlisteID");

    CSetEventSetlisteSongs rows(db);
    rows.open(QString::asprintf("[SetlisteID]=%ld", long(headId)));
    for (const StoredSong& song : songs) {
        rows.addNew();
        rows.setLong("SetlisteID", headId);
        rows.setInt("SetNr", song.setNumber);
        rows.setInt("LfdNr", song.position);
        for (int column = 0; column < kColumnCount; ++column) {
            if (column != kTempoColumn)
                rows.setText(kStoredColumns[column], song.columns.at(column));
        }
        // The tempo is a short whole number; an empty column (or anything else) is no tempo.
        bool isNumber = false;
        const int tempo = song.columns.at(kTempoColumn).trimmed().toInt(&isNumber);
        if (isNumber && tempo >= 1 && tempo <= 32767)
            rows.setInt("Tempo", tempo);
        else
            rows.setNull("Tempo");
        rows.update();
    }
    transaction.commit();
    return true;
}

void remove(CDatabase& db, std::int32_t eventId) {
    CDbTransaction transaction(db);
    deleteHeads(db, eventId);
    transaction.commit();
}

} // namespace SetList
