// Lists at 1280×720 with the example data: no visible column cuts its title or its first row's
// text, whatever font the system gives the lists; widths the user stored are kept as stored.
#include "MainWindowSupport.h"
#include "core/Backup.h"
#include "core/Settings.h"
#include "masterdata/CArtikelverwaltungDlg.h"
#include "masterdata/CGemaBezirkeDlg.h"
#include "masterdata/CHotelListeDlg.h"
#include "masterdata/CSonglisteDlg.h"
#include "reminder/CGeburtstagDlg.h"
#include "tool/DemoData.h"
#include "views/CDatensicherungDlg.h"
#include "widgets/ListColumns.h"

#include <QAbstractItemDelegate>
#include <QDir>
#include <QHeaderView>
#include <QTreeView>

#include <functional>
#include <memory>

namespace {

const QSize kScreen(1280, 720);

// The visible columns of `view` whose title or first-row text does not fit, as "Title: text".
QStringList cutColumns(QTreeView& view) {
    QStringList cut;
    QHeaderView& header = *view.header();
    QAbstractItemModel& model = *view.model();
    for (int column = 0; column < model.columnCount(); ++column) {
        if (header.isSectionHidden(column) || header.sectionSize(column) == 0)
            continue;
        const QString title = model.headerData(column, Qt::Horizontal).toString();
        if (header.sectionSizeHint(column) > header.sectionSize(column))
            cut << title;
        if (model.rowCount() == 0)
            continue;
        const QModelIndex first = model.index(0, column);
        QStyleOptionViewItem option;
        option.initFrom(view.viewport());
        option.font = view.font();
        option.fontMetrics = QFontMetrics(view.font());
        option.decorationSize = view.iconSize().isValid() ? view.iconSize() : QSize(16, 16);
        if (view.itemDelegateForIndex(first)->sizeHint(option, first).width() >
            view.columnWidth(column))
            cut << title + QStringLiteral(": ") + first.data().toString();
    }
    return cut;
}

class ColumnFitTest : public RunningProgramTest {
protected:
    void SetUp() override {
        RunningProgramTest::SetUp();
        fillDemoData(db());
    }
};

TEST_F(ColumnFitTest, EveryListOfTheMainWindowShowsItsTitlesAndFirstRowWhole) {
    frame->resize(kScreen);
    frame->show();
    int lists = 0;
    for (int group = 0; group < 3; ++group) {
        for (int button = 0; button < 7; ++button) {
            frame->navigate(group, button);
            CViewSplitRight* shown = frame->currentListView();
            if (!shown)
                continue;
            ++lists;
            QApplication::processEvents();
            SCOPED_TRACE(testing::Message() << "group " << group << ", button " << button);
            EXPECT_GT(shown->model()->rowCount(), 0);
            EXPECT_EQ(cutColumns(*shown->list()), QStringList());
            // No space stays empty at the right edge while the columns are cut.
            QHeaderView& header = *shown->list()->header();
            EXPECT_GE(header.length(), shown->list()->viewport()->width());
        }
    }
    EXPECT_GE(lists, 10);
}

TEST_F(ColumnFitTest, ListsOfTheFormsShowTheirTitlesAndFirstRowWhole) {
    // A backup to list, with its date and time.
    const QString backups = Backup::folder(dir.path());
    Backup::write(db().path(), backups, QDateTime(QDate(2026, 12, 8), QTime(8, 5, 12)));
    const struct {
        const char* name;
        std::function<std::unique_ptr<QWidget>()> make;
    } forms[] = {
        {"Songliste", [&] { return std::make_unique<CSonglisteDlg>(db(), app.profile()); }},
        {"GEMA-Bezirksdirektionen",
         [&] { return std::make_unique<CGemaBezirkeDlg>(db(), app.profile()); }},
        {"Hotels", [&] { return std::make_unique<CHotelListeDlg>(db(), app.profile()); }},
        {"Artikel",
         [&] { return std::make_unique<CArtikelverwaltungDlg>(db(), app.profile(), dir.path()); }},
        {"Datensicherung", [&] { return std::make_unique<CDatensicherungDlg>(backups); }},
    };
    for (const auto& form : forms) {
        SCOPED_TRACE(form.name);
        const std::unique_ptr<QWidget> window = form.make();
        window->show();
        QApplication::processEvents();
        const QList<QTreeView*> views = window->findChildren<QTreeView*>();
        ASSERT_FALSE(views.isEmpty());
        for (QTreeView* view : views) {
            if (view->isVisible() && view->model()->rowCount() > 0) {
                EXPECT_EQ(cutColumns(*view), QStringList());
            }
        }
    }
}

TEST_F(ColumnFitTest, DefaultWidthsScaleWithTheFontStoredWidthsAreKept) {
    // The reference font keeps the widths as they are.
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(11);
    const double scale = ListColumns::scaleFor(font);
    EXPECT_NEAR(ListColumns::letterWidth(font), 6.0 * scale, 1e-9);
    QFont twice = font;
    twice.setPixelSize(22);
    EXPECT_NEAR(ListColumns::scaleFor(twice), 2 * scale, 0.2 * scale);

    EXPECT_EQ(Settings::defaultWidths(Settings::Songlist, 6, 1.5),
              (QList<int>{201, 51, 77, 209, 84, 150}));
    // Stored numbers stay; the missing ones come from the scaled default.
    ASSERT_TRUE(app.profile().writeText(QStringLiteral("LIST_COLS"), QStringLiteral("Songlist"),
                                        QStringLiteral("100,40")));
    EXPECT_EQ(Settings::readWidths(app.profile(), Settings::Songlist, 4, 1.5),
              (QList<int>{100, 40, 77, 209}));

    // The main list shows stored widths as stored, the last column stretched.
    ASSERT_TRUE(app.profile().writeText(QStringLiteral("LIST_COLS"), QStringLiteral("Musician"),
                                        QStringLiteral("30,40,50,60,70,80,90")));
    frame->resize(kScreen);
    frame->show();
    frame->navigate(0, 1);
    QApplication::processEvents();
    ASSERT_EQ(list().model()->columnCount(), 7);
    EXPECT_TRUE(widths().startsWith(QStringLiteral("30,40,50,60,70,80,")));
    EXPECT_GT(list().list()->header()->sectionSize(6), 90);
}

} // namespace
