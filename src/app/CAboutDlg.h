#pragma once

#include <QDialog>

// "Info über Vorlanto": product, version and maker.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    // The free space between the window's border and its contents.
    static constexpr int kMargin = 20;
};
