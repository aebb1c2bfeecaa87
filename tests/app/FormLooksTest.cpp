// How the forms look to the user: read-only details are told apart from fields to type in,
// titles and texts have room, groups stay compact when a form grows, and long texts loaded
// into a field show their beginning.
#include "MainWindowSupport.h"
#include "app/CAboutDlg.h"
#include "events/CEventDlg.h"
#include "finance/CMwStDlg.h"
#include "masterdata/CExtFirmaDlg.h"
#include "masterdata/CMusikerDlg.h"
#include "support/FormTestSupport.h"

#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QLineEdit>

namespace {

using FormTest::field;

const QString kLongEmail = QStringLiteral("kontakt.buchungen@festzelt-x.de"); // 31 characters
const QString kLongHomepage =
    QStringLiteral("https://www.festzeltbetrieb-brunnhuber.example/a"); // 48

class FormLooksTest : public RunningProgramTest {
protected:
    // The colour in the middle of an empty field, as drawn.
    static QColor background(QLineEdit* edit) {
        const QImage image = edit->grab().toImage();
        return image.pixelColor(image.width() / 2, image.height() / 2);
    }
};

TEST_F(FormLooksTest, EventFormShowsOrganiserAndContactDetailsAsReadOnly) {
    CEventDlg form(db(), app.profile(), -1);
    form.show();
    const QColor window = form.palette().color(QPalette::Window);
    const QColor editable = background(form.findChild<QLineEdit*>(QStringLiteral("editLocation")));
    EXPECT_NE(editable, window) << "fields to type in keep their own background";
    for (const char* name :
         {"editVArt", "editVAnrede", "editVStrasse", "editVOrt", "editVTel", "editVHandy",
          "editVFax", "editVEmail", "editVHomepage", "editAPTel", "editAPHandy", "editAPFax"}) {
        auto* detail = form.findChild<QLineEdit*>(QLatin1String(name));
        ASSERT_NE(detail, nullptr) << name;
        EXPECT_TRUE(detail->isReadOnly()) << name;
        EXPECT_EQ(background(detail), window) << name;
    }
}

TEST_F(FormLooksTest, TitlesAndTextsHaveRoom) {
    // The VAT form's title needs its text plus room for the window icon and the caption buttons.
    CMwStDlg vat(db(), app.profile());
    const int titleWidth = QFontMetrics(vat.font()).horizontalAdvance(vat.windowTitle());
    EXPECT_GE(vat.minimumSizeHint().width(), titleWidth + 160);

    // The About box keeps its texts away from its border.
    CAboutDlg about;
    about.show();
    for (QLabel* label : about.findChildren<QLabel*>()) {
        const QRect shown(label->mapTo(&about, QPoint(0, 0)), label->size());
        EXPECT_GE(shown.left(), 12) << label->text().toStdString();
        EXPECT_GE(shown.top(), 12) << label->text().toStdString();
        EXPECT_LE(shown.right(), about.width() - 12) << label->text().toStdString();
    }
}

TEST_F(FormLooksTest, MusicianFormKeepsItsGroupsCompactWhenTaller) {
    CMusikerDlg form(db(), app.profile(), dir.path(), -1);
    form.show();
    form.resize(form.sizeHint() + QSize(0, 250));
    QCoreApplication::processEvents();
    const auto gap = [&](const char* upper, const char* lower) {
        const QLineEdit* top = field(form, upper);
        const QLineEdit* below = field(form, lower);
        return below->mapTo(&form, QPoint(0, 0)).y() - top->mapTo(&form, QPoint(0, 0)).y() -
               top->height();
    };
    EXPECT_LE(gap("Kreditinstitut", "Konto.-Nr."), 12);
    EXPECT_LE(gap("Konto.-Nr.", "BLZ"), 12);
}

TEST_F(FormLooksTest, LongAddressesShowTheirBeginningWhenLoaded) {
    const std::int32_t firm = addFirm(0, {{"Firma", QStringLiteral("Festzelt Brunnhuber")},
                                          {"Email", kLongEmail},
                                          {"Homepage", kLongHomepage}});
    const std::int32_t musician = add<CSetStammMusiker>(
        {{"MName", QStringLiteral("Brandl")}, {"Memail", kLongEmail}, {"MHomepage", kLongHomepage}},
        "MusikerID");
    CExtFirmaDlg firmForm(db(), app.profile(), 0, firm);
    CMusikerDlg musicianForm(db(), app.profile(), dir.path(), musician);
    for (QWidget* form : {static_cast<QWidget*>(&firmForm), static_cast<QWidget*>(&musicianForm)}) {
        form->show();
        for (const char* label : {"EMail", "Homepage"}) {
            QLineEdit* edit = field(*form, label);
            // Shown whole, even where longer than what the field lets the user type.
            EXPECT_EQ(edit->text(), label == std::string("EMail") ? kLongEmail : kLongHomepage)
                << label;
            EXPECT_EQ(edit->cursorPosition(), 0)
                << form->windowTitle().toStdString() << " " << label;
        }
    }
}

} // namespace
