#include "CMultiViewSplitter.h"

#include <QStackedWidget>

#include <algorithm>

CMultiViewSplitter::CMultiViewSplitter(QWidget* navigation, QWidget* emptyView, QWidget* eventViews,
                                       QWidget* addressViews, QWidget* parent)
    : QSplitter(Qt::Horizontal, parent), m_views(new QStackedWidget(this)) {
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
    setSizes({std::max(kNavigationWidth, navigation->sizeHint().width()), 10000});
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
