#include "CViewEmpty.h"

#include "widgets/CPictureHolder.h"

#include <QPainter>

CViewEmpty::CViewEmpty(const CPictureHolder& background, QWidget* parent)
    : QWidget(parent), m_background(background) {
    // The whole picture is redrawn on every resize, not just the uncovered strip.
    setAttribute(Qt::WA_StaticContents, false);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CViewEmpty::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!m_background.render(painter, rect()))
        painter.fillRect(rect(), palette().window());
}
