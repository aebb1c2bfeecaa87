#pragma once

#include <QWidget>

#include <array>

class QScrollArea;
class QToolButton;

// The navigation pane: three group buttons (addresses, events, finances) and below them up to
// seven list buttons with pictures. It shows the choice; the main window acts on it. When the
// window is too short for all buttons, the list buttons scroll below the group buttons.
class CViewSplitLeft : public QWidget {
    Q_OBJECT
public:
    // The group whose button is pressed when the pane appears.
    static constexpr int kStartGroup = 0;

    explicit CViewSplitLeft(QWidget* parent = nullptr);

    QSize sizeHint() const override;

    int selectedGroup() const { return m_group; }
    int selectedListButton() const { return m_listButton; }

    // As if the button had been clicked.
    void clickGroup(int group);
    void clickListButton(int button);
    // The main window clears the list button when a button leads to the empty view.
    void setSelectedListButton(int button);

    QToolButton* groupButton(int group) const { return m_groupButtons[static_cast<size_t>(group)]; }
    QToolButton* listButton(int button) const { return m_listButtons[static_cast<size_t>(button)]; }

Q_SIGNALS:
    void groupSelected(int group);
    void listButtonSelected(int group, int button);

private:
    void updatePictures();

    QWidget* m_groups = nullptr; // the group buttons, above the scrolling list buttons
    QScrollArea* m_scrollArea = nullptr;
    int m_group = -1;
    int m_listButton = -1;
    std::array<QToolButton*, 3> m_groupButtons{};
    std::array<QToolButton*, 7> m_listButtons{};
};
