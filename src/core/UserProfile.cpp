#include "UserProfile.h"

#include "data/RecordSets.h"

UserProfile UserProfile::load(CDatabase& db) {
    UserProfile profile;
    CSetUser user(db);
    user.open();
    if (user.atEnd())
        return profile;
    profile.band = user.getText("Band");
    profile.lineUpKind = user.getText("ArtBesetzung");
    profile.name = user.getText("Name");
    profile.firstName = user.getText("Vorname");
    profile.phone = user.getText("Tel");
    profile.mobile = user.getText("Telm");
    profile.fax = user.getText("Fax");
    profile.email = user.getText("Email");
    profile.homepage = user.getText("Homepage");
    profile.town = user.getText("Ort");
    profile.postcode = user.getText("PLZ");
    profile.street = user.getText("Strasse");
    return profile;
}
