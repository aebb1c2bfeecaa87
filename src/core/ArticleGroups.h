#pragma once

#include <QString>

class CDatabase;

// Article groups (T_Stamm_Artikelgruppe) are keyed by their name, and articles refer to their
// group by that name. Storing a group keeps the two in step.
namespace ArticleGroups {

// The category of a group (column Kategorie): its articles are sound carriers with a label and a
// performer, or other merchandise without them.
enum Category { SoundCarriers = 0, Other = 1 };

struct Group {
    QString name;
    QString description;
    int category = SoundCarriers;
};

enum class Result {
    Stored,
    // Another group already carries the new name; nothing was written.
    NameTaken
};

// Stores a group in one transaction.
//
// `oldName` empty: a new group. When a group of that name exists already it is updated instead,
// and a group deleted under that name is live again.
//
// `oldName` given: the group found under it takes the new name, description and category, and
// every article of the group is moved to the new name with it, so no article loses its group.
// Sales keep the group name they were sold under. A group that is no longer there is added anew.
//
// Throws CDaoException; the database is then as it was.
Result store(CDatabase& db, const QString& oldName, const Group& group);

// The filter that finds a group or its articles by the group's name.
QString nameFilter(const QString& name);

} // namespace ArticleGroups
