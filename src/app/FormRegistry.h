#pragma once

#include <QHash>
#include <QString>

#include <cstdint>
#include <functional>

class CDatabase;
class CProfileFile;
class QWidget;

// Which form opens for an entry of a main list or for a menu command, and how. The list views
// and the menu both open their forms through here, so a new form is added in one place.
class FormRegistry {
public:
    // Opens a form modally for a key (-1: a new entry, or none) and returns its QDialog result.
    using Opener = std::function<int(QWidget* parent, std::int32_t key)>;
    static constexpr int kFormNotAvailable = -1;

    // Registers the program's forms on the database, the settings file and the program
    // directory; all three must outlive the registry.
    FormRegistry(CDatabase& db, CProfileFile& profile, const QString& programDirectory);

    // The form of a list kind's entries; kFormNotAvailable when the program has none.
    int openList(QWidget* parent, int listKind, std::int32_t key) const;
    // The form of a menu command (CMainMenu::Command); kFormNotAvailable when there is none.
    int openCommand(QWidget* parent, int command, std::int32_t key = -1) const;
    bool hasCommand(int command) const { return m_commands.contains(command); }

private:
    QHash<int, Opener> m_lists;
    QHash<int, Opener> m_commands;
};
