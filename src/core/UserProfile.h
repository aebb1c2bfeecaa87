#pragma once

#include <QString>

class CDatabase;

// The band's own data from the User row, as the reports print it.
struct UserProfile {
    QString band;
    QString lineUpKind; // ArtBesetzung
    QString name;
    QString firstName;
    QString phone;
    QString mobile;
    QString fax;
    QString email;
    QString homepage;
    QString town;
    QString postcode;
    QString street;

    // The first User row; an empty profile when there is none. Throws CDaoException.
    static UserProfile load(CDatabase& db);
};
