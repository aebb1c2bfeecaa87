#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QWidget;

// Writes what `produce` makes to `path`; the previous file stays whole when anything fails. A
// database that cannot be read or a file that cannot be written is shown as a stop message.
// True when the file was written.
bool saveExportFile(QWidget* parent, const QString& path,
                    const std::function<QByteArray()>& produce);
