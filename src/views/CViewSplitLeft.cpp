#include "CViewSplitLeft.h"

#include "Navigation.h"
#include "widgets/Pictures.h"

#include <QFrame>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

CViewSplitLeft::CViewSplitLeft(QWidget* parent) : QWidget(parent) {
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(0xBF, 0xBF, 0xBF));
    setPalette(background);
    setAutoFillBackground(true);
    setMinimumWidth(0);

    // The group buttons stay in place; below them the list buttons scroll when the window is
    // too short for them, so that the window itself never has to be taller than the screen and
    // every list button can be reached.
    auto* groups = new QWidget(this);
    auto* groupLayout = new QVBoxLayout(groups);
    groupLayout->setContentsMargins(4, 6, 4, 0);
    groupLayout->setSpacing(3);
    m_scrollArea = new QScrollArea(this);
    m_scrollArea->setFrameShape(QFrame::NoFrame);
    m_scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scrollArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_scrollArea->setWidgetResizable(true);
    m_scrollArea->viewport()->setAutoFillBackground(false);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(groups);
    outer->addWidget(m_scrollArea, 1);

    auto* buttons = new QWidget(m_scrollArea);
    buttons->setAutoFillBackground(false);
    auto* layout = new QVBoxLayout(buttons);
    layout->setContentsMargins(4, 0, 4, 6);
    layout->setSpacing(3);
    auto makeButton = [](QWidget* parent, int height) {
        auto* button = new QToolButton(parent);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::TabFocus);
        button->setIconSize(QSize(Pictures::kButtonWidth, height));
        button->setFixedSize(Pictures::kButtonWidth + 4, height + 4);
        button->setCursor(Qt::PointingHandCursor);
        return button;
    };
    for (int group = 0; group < 3; ++group) {
        QToolButton* button = makeButton(groups, Pictures::kGroupButtonHeight);
        button->setToolTip(Pictures::groupCaption(group));
        connect(button, &QToolButton::clicked, this, [this, group] { clickGroup(group); });
        groupLayout->addWidget(button, 0, Qt::AlignHCenter);
        m_groupButtons[static_cast<size_t>(group)] = button;
    }
    auto* separator = new QFrame(groups);
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    groupLayout->addSpacing(4);
    groupLayout->addWidget(separator);
    groupLayout->addSpacing(4);
    for (int index = 0; index < 7; ++index) {
        QToolButton* button = makeButton(buttons, Pictures::kListButtonHeight);
        connect(button, &QToolButton::clicked, this, [this, index] { clickListButton(index); });
        layout->addWidget(button, 0, Qt::AlignHCenter);
        m_listButtons[static_cast<size_t>(index)] = button;
    }
    layout->addStretch();
    m_scrollArea->setWidget(buttons);
    m_groups = groups;
    // The pane starts with the addresses group pressed and no list chosen.
    m_group = kStartGroup;
    updatePictures();
}

QSize CViewSplitLeft::sizeHint() const {
    // Wide enough for the buttons with the scroll bar beside them, so that scrolling never
    // hides part of a button.
    const QSize groups = m_groups->sizeHint();
    const QSize buttons = m_scrollArea->widget()->sizeHint();
    const int scrollBar = m_scrollArea->verticalScrollBar()->sizeHint().width();
    return {std::max(groups.width(), buttons.width() + scrollBar),
            groups.height() + buttons.height()};
}

void CViewSplitLeft::clickGroup(int group) {
    if (group < 0 || group > 2)
        return;
    m_group = group;
    m_listButton = -1;
    updatePictures();
    Q_EMIT groupSelected(group);
}

void CViewSplitLeft::clickListButton(int button) {
    if (button < 0 || button > 6 || m_group < 0)
        return;
    m_listButton = button;
    updatePictures();
    Q_EMIT listButtonSelected(m_group, button);
}

void CViewSplitLeft::setSelectedListButton(int button) {
    m_listButton = button;
    updatePictures();
}

void CViewSplitLeft::updatePictures() {
    for (int group = 0; group < 3; ++group) {
        QToolButton* button = m_groupButtons[static_cast<size_t>(group)];
        button->setIcon(Pictures::groupButton(group, group == m_group));
    }
    const int shown = visibleListButtons(m_group);
    for (int index = 0; index < 7; ++index) {
        QToolButton* button = m_listButtons[static_cast<size_t>(index)];
        button->setVisible(index < shown);
        if (index < shown) {
            button->setIcon(Pictures::listButton(m_group, index, index == m_listButton));
            button->setToolTip(Pictures::listCaption(m_group, index));
        }
    }
}
