#pragma once

#include <QTreeWidget>

#include <QList>

#include <cstdint>

class CProfileFile;
struct SettingKey;

// A report-style list of a form whose column widths live in Kavio.ini: read when the list is set
// up (defaults scaled for the list's font, see ListColumns), written back when the form closes.
// The last column stretches to the right edge. Each row carries an integer key.
class CReportList : public QTreeWidget {
    Q_OBJECT
public:
    explicit CReportList(QWidget* parent = nullptr);

    // Columns with their titles; widths from the key (or its default, scaled for the font).
    void setUp(CProfileFile& profile, const SettingKey& widths, const QStringList& titles);
    // Writes the current widths back under the key (no-op before setUp).
    void saveWidths();

    void clearRows();
    void addRow(const QStringList& texts, std::int32_t key);
    // The key of the selected row, or -1.
    std::int32_t selectedKey() const;
    QString selectedText(int column) const;
    void selectKey(std::int32_t key);
    void removeSelectedRow();

protected:
    void showEvent(QShowEvent* event) override;

private:
    CProfileFile* m_profile = nullptr;
    // The default widths, while they still wait to make room for the rows at the first showing.
    QList<int> m_defaultWidths;
    const SettingKey* m_widths = nullptr;
};
