#pragma once

#include <QSplitter>

#include <array>
#include <functional>

class QStackedWidget;

// The main window's client area: the navigation pane in the left column (150 pixels wide at
// start, down to 0 when dragged), and in the right column one of three views at a time. The
// two list views are made when first asked for, so that a start builds only what it shows.
class CMultiViewSplitter : public QSplitter {
    Q_OBJECT
public:
    static constexpr int kNavigationWidth = 150;

    // `makeListView` makes view 2 or 3 when it is first asked for.
    CMultiViewSplitter(QWidget* navigation, QWidget* emptyView,
                       std::function<QWidget*(int which)> makeListView, QWidget* parent = nullptr);

    // 1 the empty view, 2 the event and finance lists, 3 the address lists.
    void showView(int which);
    int currentView() const;
    // The view, made now if it was not yet; nullptr for another number.
    QWidget* view(int which);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QStackedWidget* m_views;
    std::function<QWidget*(int)> m_makeListView;
    std::array<QWidget*, 3> m_made{};
    bool m_sized = false;
};
