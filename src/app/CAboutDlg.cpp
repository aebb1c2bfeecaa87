#include "CAboutDlg.h"

#include "core/Version.h"
#include "widgets/Pictures.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Info über Vorlanto"));
    auto* picture = new QLabel(this);
    picture->setPixmap(Pictures::makerPicture());
    auto* product =
        new QLabel(QStringLiteral("<b>Vorlanto Version " VORLANTO_VERSION "</b>"), this);
    auto* maker = new QLabel(QStringLiteral("Das Büroprogramm für Bands<br>"
                                            "Vorlanto Software · Kranichweg 7 · 37073 Notenau<br>"
                                            "info@vorlanto.example"),
                             this);
    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* text = new QVBoxLayout;
    text->addWidget(product);
    text->addWidget(maker);
    text->addStretch();
    text->setSpacing(6);
    auto* top = new QHBoxLayout;
    top->setSpacing(18);
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addLayout(text, 1);
    // Room around the texts, so the address does not run into the window's border.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    layout->setSpacing(kMargin);
    layout->addLayout(top);
    layout->addWidget(ok, 0, Qt::AlignRight);
}
