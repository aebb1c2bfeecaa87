#pragma once

#include "core/ChangeNotifier.h"

#include <QWidget>

#include <cstdint>
#include <functional>

class CDatabase;
class CProfileFile;
class CReportListModel;
class QPushButton;
class QTreeView;
struct ListKindInfo;

// A list view of the list pane: one list kind at a time (organisers, musicians, events ...)
// with its new, delete and edit buttons and "&Ende".
class CViewSplitRight : public QWidget {
    Q_OBJECT
public:
    // Opens the form behind an entry (key -1: a new one) and returns QDialog::Accepted or
    // Rejected, or kFormNotAvailable when the program has no such form yet.
    using FormOpener = std::function<int(QWidget* parent, int listKind, std::int32_t key)>;
    static constexpr int kFormNotAvailable = -1;

    CViewSplitRight(CDatabase& db, CProfileFile& profile, QWidget* parent = nullptr);
    ~CViewSplitRight() override;

    void setFormOpener(FormOpener opener) { m_openForm = std::move(opener); }

    // Keeps the widths of the kind shown so far, then shows the new kind.
    void setListKind(int kind);
    int listKind() const { return m_kind; }
    // The list-refresh request: fills the entries of the current kind again. The selection stays
    // on its record, or on the same row when the record is gone.
    void refreshList();
    // Whether a change of this topic touches the list shown.
    bool shows(ChangeNotifier::Topic topic, int detail) const;
    // Writes the column widths of the kind shown to Kavio.ini (not for the print list).
    void saveWidths();

    // The key of the selected entry, or -1 when none is selected.
    std::int32_t selectedKey() const;
    QString selectedText(int column) const;
    void selectKey(std::int32_t key);

    QTreeView* list() const { return m_list; }
    CReportListModel* model() const { return m_model; }
    QPushButton* newButton() const { return m_new; }
    QPushButton* deleteButton() const { return m_delete; }
    QPushButton* editButton() const { return m_edit; }
    QPushButton* endButton() const { return m_end; }

public Q_SLOTS:
    void onNew();
    void onDelete();
    void onEdit();

Q_SIGNALS:
    // "&Ende": the list pane shows the empty view again.
    void endRequested();

private:
    bool openForm(std::int32_t key);
    void deleteFirm(const ListKindInfo& info);
    void deleteMusician();
    void deleteEvent();

    CDatabase& m_db;
    CProfileFile& m_profile;
    FormOpener m_openForm;
    int m_kind = 0;
    // While a "new" form is open 0, then the key of the first entry it stored; -1 otherwise.
    std::int32_t m_newKey = -1;
    CReportListModel* m_model;
    QTreeView* m_list;
    QPushButton* m_new;
    QPushButton* m_delete;
    QPushButton* m_edit;
    QPushButton* m_end;
};
