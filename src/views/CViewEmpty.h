#pragma once

#include <QWidget>

class CPictureHolder;

// The list pane while no list is chosen: the background picture stretched over the whole area.
class CViewEmpty : public QWidget {
    Q_OBJECT
public:
    explicit CViewEmpty(const CPictureHolder& background, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const CPictureHolder& m_background;
};
