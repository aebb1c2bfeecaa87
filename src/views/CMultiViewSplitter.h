#pragma once

#include <QSplitter>

class QStackedWidget;

// The main window's client area: the navigation pane in the left column (150 pixels wide at
// start, down to 0 when dragged), and in the right column one of three views at a time.
class CMultiViewSplitter : public QSplitter {
    Q_OBJECT
public:
    static constexpr int kNavigationWidth = 150;

    CMultiViewSplitter(QWidget* navigation, QWidget* emptyView, QWidget* eventViews,
                       QWidget* addressViews, QWidget* parent = nullptr);

    // 1 the empty view, 2 the event and finance lists, 3 the address lists.
    void showView(int which);
    int currentView() const;
    QWidget* view(int which) const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QStackedWidget* m_views;
    bool m_sized = false;
};
