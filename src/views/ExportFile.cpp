#include "ExportFile.h"

#include "core/MessageService.h"
#include "data/CDaoException.h"
#include "exchange/CalendarExport.h"

bool saveExportFile(QWidget* parent, const QString& path,
                    const std::function<QByteArray()>& produce) {
    try {
        const QString failure = Calendar::writeAtomically(path, produce());
        if (failure.isEmpty())
            return true;
        MessageService::stop(parent, failure);
    } catch (const CDaoException& error) {
        MessageService::stop(parent, error.description());
    }
    return false;
}
