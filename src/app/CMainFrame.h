#pragma once

#include <QMainWindow>

#include <cstdint>
#include <memory>

class CKavioApp;
class CMainMenu;
class FormRegistry;
class CMultiViewSplitter;
class CViewEmpty;
class CViewSplitLeft;
class CViewSplitRight;
class QPrinter;

// The main window: title "Vorlanto 2.0", the navigation pane and the list pane, the menu.
// It asks before the program ends.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    // What the navigation last chose makes these menu commands available: the event list
    // (A edit, B delete, C plan) and the accounting list (D cost bookings).
    struct Flags {
        bool eventEdit = false;
        bool eventDelete = false;
        bool eventPlan = false;
        bool accounting = false;
    };

    explicit CMainFrame(CKavioApp& app, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Chooses a group as if its button were clicked, then the list button 0 to 6 (others: none).
    void navigate(int group, int listButton);
    // 1 the empty view; 2 or 3 a list view showing the list kind.
    void showView(int which, int listKind = 0);
    // The list-refresh request of the forms: the list shown fills itself again.
    void requestListRefresh(int listKind = 0, std::int32_t key = 0);

    const Flags& flags() const { return m_flags; }
    CViewSplitLeft* navigationPane() const { return m_navigation; }
    // The list views, made when first asked for.
    CViewSplitRight* eventListView() const { return listView(2); }
    CViewSplitRight* addressListView() const { return listView(3); }
    // The list view shown now, or nullptr with the empty view.
    CViewSplitRight* currentListView() const;
    CMainMenu* mainMenu() const { return m_menu; }
    // How the lists and the menu open their forms.
    const FormRegistry& forms() const { return *m_forms; }
    // The printer reports print on, as "Druckereinrichtung..." set it up.
    QPrinter& printer() const;
    // Shows a report's preview in place of the panes; nullptr shows the panes again.
    void setReportPreview(QWidget* preview);
    // Whether a report's preview stands in for the panes; the list commands are then disabled.
    bool reportPreviewShown() const { return m_preview != nullptr; }
    CKavioApp& app() const { return m_app; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void onGroupSelected(int group);
    void onListButtonSelected(int group, int button);
    void setFlags(const Flags& flags);
    CViewSplitRight* listView(int which) const;
    CViewSplitRight* makeListView(int which);

    CKavioApp& m_app;
    CViewSplitLeft* m_navigation;
    CViewEmpty* m_emptyView;
    CViewSplitRight* m_eventViews = nullptr;
    CViewSplitRight* m_addressViews = nullptr;
    CMultiViewSplitter* m_splitter;
    Flags m_flags;
    std::unique_ptr<FormRegistry> m_forms;
    CMainMenu* m_menu = nullptr;
    QWidget* m_preview = nullptr;
};
