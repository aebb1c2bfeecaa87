#pragma once
// The program running in a fresh program directory (the working directory), with every message
// recorded (questions not answered otherwise get "No"); rows go into its database through the
// record sets, and the list shown is read back as the user sees it.
#include "ShellTestSupport.h"
#include "app/CKavioApp.h"
#include "app/CMainFrame.h"
#include "core/MessageService.h"
#include "core/ProgramDirectory.h"
#include "data/RecordSets.h"
#include "views/CViewSplitRight.h"
#include "widgets/CReportListModel.h"
#include "widgets/StartupProbe.h"

#include <QHeaderView>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

class RunningProgramTest : public ::testing::Test {
protected:
    using Values = std::vector<std::pair<const char*, QVariant>>;

    void SetUp() override {
        ASSERT_TRUE(cwd.ok());
        createProgramDirectory(dir.path());
        ASSERT_TRUE(app.initInstance()) << messages.texts().join(u'\n').toStdString();
        frame = app.mainFrame();
        // The start-up reminders wait for the window's first paint: they look at the empty
        // database now, not at the rows a test adds later.
        ASSERT_TRUE(QTest::qWaitFor([this] { return !StartupProbe::pending(frame); }));
    }

    CDatabase& db() { return app.database(); }
    // Adds a row and returns the key the database gave it.
    template <class Set> std::int32_t add(const Values& values, const char* key = nullptr) {
        Set rows(db());
        rows.open();
        rows.addNew();
        for (const auto& [column, value] : values)
            rows.setValue(column, value);
        rows.update();
        rows.moveToBookmark(rows.lastModified());
        return key ? rows.getLong(key) : 0;
    }
    std::int32_t addFirm(int art, Values values) {
        values.emplace_back("Art", art);
        return add<CSetStammExtFirma>(values, "ExtID");
    }
    std::int32_t addEvent(const Values& values) { return add<CSetEvent>(values, "EventID"); }
    static QDateTime at(int y, int m, int d, int h, int min) {
        return QDateTime(QDate(y, m, d), QTime(h, min), Qt::UTC);
    }
    int count(const char* table, const QString& where) {
        const QString sql = QStringLiteral("SELECT count(*) FROM %1 WHERE %2");
        return db().queryText(sql.arg(QLatin1String(table), where).toStdString()).toInt();
    }

    CViewSplitRight& list() {
        CViewSplitRight* shown = frame->currentListView();
        EXPECT_NE(shown, nullptr) << "the empty view is shown";
        return shown ? *shown : *frame->eventListView();
    }
    QStringList column(int col) {
        QStringList texts;
        for (int row = 0; row < list().model()->rowCount(); ++row)
            texts << list().model()->row(row).texts[size_t(col)];
        return texts;
    }
    QList<std::int32_t> keys() {
        QList<std::int32_t> result;
        for (int row = 0; row < list().model()->rowCount(); ++row)
            result << list().model()->row(row).key;
        return result;
    }
    // The column widths shown, written as the settings file keeps them.
    QString widths() {
        QStringList result;
        for (int col = 0; col < list().model()->columnCount(); ++col)
            result << QString::number(list().list()->header()->sectionSize(col));
        return result.join(u',');
    }
    QString storedWidths(const char* key) {
        return app.profile().readText(QStringLiteral("LIST_COLS"), QLatin1String(key),
                                      QStringLiteral("-"));
    }
    // Clicks the entry with the key.
    void clickEntry(std::int32_t key) {
        QTreeView* view = list().list();
        const QModelIndex index = list().model()->index(list().model()->rowOfKey(key), 1);
        ASSERT_TRUE(index.isValid()) << "no entry " << key;
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
        ASSERT_EQ(list().selectedKey(), key);
    }

    QTemporaryDir dir;
    WorkingDirectory cwd{dir.path()};
    MessageRecorder messages;
    CKavioApp app;
    CMainFrame* frame = nullptr;
};
