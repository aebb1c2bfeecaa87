#include "PickListFillers.h"

#include "CPickList.h"
#include "core/ListRows.h"
#include "data/RecordSets.h"
#include "resources/Strings.h"

#include <QSignalBlocker>

namespace PickListFillers {

void fillFirms(CPickList& list, CDatabase& db, int firmKind, std::int32_t inUse, bool blankRow) {
    const QSignalBlocker quiet(&list);
    list.clearRows();
    if (blankRow)
        list.addRow({}, 0);
    CSetStammExtFirma firms(db);
    firms.open(
        QString::asprintf("[Art]=%d AND ([fDeleted]=False OR [ExtID]=%ld)", firmKind, long(inUse)),
        QStringLiteral("[fPrivat] DESC, [Firma], [Name], [Vorname]"));
    for (; !firms.atEnd(); firms.moveNext()) {
        const bool isPrivate = firms.getBool("fPrivat");
        list.addRow({ListTexts::firmName(isPrivate, firms.getText("Firma"), firms.getText("Name"),
                                         firms.getText("Vorname")),
                     QString::fromUtf8(isPrivate ? Strings::kPrivate : Strings::kBusiness),
                     ListTexts::postcodeAndTown(firms.getText("PLZ"), firms.getText("Ort")),
                     firms.getText("Strasse"), firms.getText("Tel"), firms.getText("Telm"),
                     firms.getText("Fax"), firms.getText("Email"), firms.getText("Homepage"),
                     firms.getText("Name"), firms.getText("Vorname")},
                    firms.getLong("ExtID"));
    }
}

void fillContacts(CPickList& list, CDatabase& db, int firmKind, std::int32_t extId,
                  std::int32_t inUse) {
    const QSignalBlocker quiet(&list);
    list.clearRows();
    list.addRow({QString(), QString()}, 0);
    if (extId <= 0)
        return;
    const QString filter =
        inUse < 1 ? QString::asprintf("[Art]=%d AND [ExtID]=%ld AND [fDeleted]=False", firmKind,
                                      long(extId))
                  : QString::asprintf("[Art]=%d AND [ExtID]=%ld AND ([fDeleted]=False OR "
                                      "[APID]=%ld)",
                                      firmKind, long(extId), long(inUse));
    CSetStammExtAnsprech contacts(db);
    contacts.open(filter, QStringLiteral("[APName]"));
    for (; !contacts.atEnd(); contacts.moveNext())
        list.addRow({contacts.getText("APName"), contacts.getText("APVorname"),
                     contacts.getText("APTel"), contacts.getText("APTelm"),
                     contacts.getText("APFax"), contacts.getText("APEmail")},
                    contacts.getLong("APID"));
}

} // namespace PickListFillers
