#include "ArticleGroups.h"

#include "data/CDatabase.h"
#include "data/GermanCollation.h"
#include "data/JetFilter.h"
#include "data/RecordSets.h"

namespace ArticleGroups {

namespace {

// Names equal apart from case name the same group (filters compare them so).
bool sameName(const QString& a, const QString& b) {
    const QByteArray first = a.toUtf8();
    const QByteArray second = b.toUtf8();
    return GermanCollation::compare(first.constData(), int(first.size()), second.constData(),
                                    int(second.size())) == 0;
}

void setColumns(CRecordset& row, const Group& group) {
    row.setText("Artikelgruppe", group.name);
    if (group.description.isEmpty())
        row.setNull("Beschreibung");
    else
        row.setText("Beschreibung", group.description);
    row.setInt("Kategorie", group.category);
    row.setBool("fDeleted", false);
}

// Writes the pending add or edit; a refused write is dropped before the error goes on.
void update(CRecordset& row) {
    try {
        row.update();
    } catch (...) {
        row.cancelUpdate();
        throw;
    }
}

} // namespace

QString nameFilter(const QString& name) {
    return QStringLiteral("[Artikelgruppe]=") + Jet::quoted(name);
}

Result store(CDatabase& db, const QString& oldName, const Group& group) {
    // A change of case alone renames the articles too, but cannot collide with another group.
    const bool renaming = !oldName.isEmpty() && oldName != group.name;
    CDbTransaction transaction(db);

    CSetStammArtikelgruppe groups(db);
    if (renaming && !sameName(oldName, group.name)) {
        groups.open(nameFilter(group.name));
        if (!groups.atEnd())
            return Result::NameTaken;
    }
    groups.open(nameFilter(oldName.isEmpty() ? group.name : oldName));
    if (groups.atEnd())
        groups.addNew();
    else
        groups.edit();
    setColumns(groups, group);
    update(groups);
    groups.close();

    if (renaming) {
        CSetStammArtikel articles(db);
        for (articles.open(nameFilter(oldName)); !articles.atEnd(); articles.moveNext()) {
            articles.edit();
            articles.setText("Artikelgruppe", group.name);
            update(articles);
        }
    }
    transaction.commit();
    return Result::Stored;
}

} // namespace ArticleGroups
