#include "CMultiViewSplitter.h"

#include <QShowEvent>
#include <QStackedWidget>

#include <algorithm>

CMultiViewSplitter::CMultiViewSplitter(QWidget* navigation, QWidget* emptyView, QWidget* eventViews,
                                       QWidget* addressViews, QWidget* parent)
    : QSplitter(Qt::Horizontal, parent), m_views(new QStackedWidget(this)) {
    // Both columns stay hidden until the window first shows: a splitter measures what it
    // shows, and measuring text needs the fonts.
    navigation->hide();
    m_views->hide();
    addWidget(navigation);
    addWidget(m_views);
    m_views->addWidget(emptyView);
    m_views->addWidget(eventViews);
    m_views->addWidget(addressViews);
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
    return m_views->currentIndex() + 1;
}

QWidget* CMultiViewSplitter::view(int which) const {
    return which >= 1 && which <= 3 ? m_views->widget(which - 1) : nullptr;
}
