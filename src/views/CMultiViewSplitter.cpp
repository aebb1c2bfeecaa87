#include "CMultiViewSplitter.h"

#include <QShowEvent>
#include <QStackedWidget>

#include <algorithm>

CMultiViewSplitter::CMultiViewSplitter(QWidget* navigation, QWidget* emptyView,
                                       std::function<QWidget*(int which)> makeListView,
                                       QWidget* parent)
    : QSplitter(Qt::Horizontal, parent), m_views(new QStackedWidget(this)),
      m_makeListView(std::move(makeListView)) {
    // Both columns stay hidden until the window first shows: a splitter measures what it
    // shows, and measuring text needs the fonts.
    navigation->hide();
    m_views->hide();
    addWidget(navigation);
    addWidget(m_views);
    m_views->addWidget(emptyView);
    m_made[0] = emptyView;
    setCollapsible(0, true);
    setCollapsible(1, false);
    setStretchFactor(0, 0);
    setStretchFactor(1, 1);
    navigation->setMinimumWidth(0);
}

void CMultiViewSplitter::showEvent(QShowEvent* event) {
    // The first column widths need the measures of the fonts. They are set when the window
    // first shows, so that building it measures no text and the fonts can load meanwhile.
    if (!m_sized) {
        m_sized = true;
        widget(0)->show();
        m_views->show();
        setSizes({std::max(kNavigationWidth, widget(0)->sizeHint().width()), 10000});
    }
    QSplitter::showEvent(event);
}

void CMultiViewSplitter::showView(int which) {
    if (QWidget* target = view(which))
        m_views->setCurrentWidget(target);
}

int CMultiViewSplitter::currentView() const {
    const auto shown = std::find(m_made.begin(), m_made.end(), m_views->currentWidget());
    return shown == m_made.end() ? 0 : int(shown - m_made.begin()) + 1;
}

QWidget* CMultiViewSplitter::view(int which) {
    if (which < 1 || which > 3)
        return nullptr;
    QWidget*& made = m_made[size_t(which - 1)];
    if (!made && m_makeListView) {
        made = m_makeListView(which);
        m_views->addWidget(made);
    }
    return made;
}
