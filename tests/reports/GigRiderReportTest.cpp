// The three Gig-Rider pages of one event against a reviewed dump, and the rules its rows are
// built with.
#include "ReportTestSupport.h"

#include "reports/GigRiderReport.h"

using namespace ReportTest;

namespace {

class GigRiderReportTest : public ::testing::Test {
protected:
    void SetUp() override { fill(database); }

    Report::Document render(std::int32_t eventId) {
        return GigRiderReport::render(database.db(), eventId, band(), PageMetrics::defaults());
    }
    // The top of every grey band of a page.
    static std::vector<int> bandTops(const Report::RecordedPage& page) {
        std::vector<int> tops;
        for (const Report::Op& op : page.ops())
            if (op.kind == Report::Op::Kind::Rectangle)
                tops.push_back(op.y1);
        return tops;
    }

    TestDatabase database;
};

TEST_F(GigRiderReportTest, ThreePagesWithScheduleOrganiserLineUpAndFirms) {
    database.exec(R"sql(
UPDATE "T_Event" SET "VeranstalterID" = 20, "EStrasse" = 'Dorfplatz 1', "EPLZ" = '83000',
    "EEnde" = '2024-03-06 01:00:00', "ETAufbauVon" = '2024-03-05 16:00:00',
    "ETAufbauBis" = '2024-03-05 17:30:00' WHERE "EventID" = 1;
INSERT INTO "T_Stamm_ExtFirma" ("ExtID", "Art", "fPrivat", "Firma", "Name", "Vorname", "PLZ",
    "Tel") VALUES (20, 0, -1, NULL, 'Wirt', NULL, '83001', '0800 1');
INSERT INTO "T_Stamm_ExtAnsprech" ("ExtID", "Art", "APName", "APVorname", "APTelm") VALUES
    (20, 0, 'Zorn', 'Udo', '0170 2'), (20, 0, 'Abel', NULL, NULL);
INSERT INTO "T_Stamm_ExtAnsprech" ("ExtID", "Art", "APName", "APTel") VALUES
    (10, 1, 'Ton', '0800 3');
INSERT INTO "T_Stamm_Instrument" ("InstrumentID", "Kurz") VALUES (1, 'Git'), (3, 'Voc');
UPDATE "T_Stamm_Musiker" SET "MInstID1" = 1, "MInstID3" = 3, "MTelm" = '0171 4'
    WHERE "MusikerID" = 1;
)sql");
    const Report::Document document = render(1);
    ASSERT_EQ(document.pageCount(), 3);
    expectDump(document, "gigrider_wedding.txt");
}

TEST_F(GigRiderReportTest, WithoutLineUpTheTechnicianFollowsTheClosedBox) {
    const Report::Document document = render(2);
    ASSERT_EQ(document.pageCount(), 3);
    // Page 2: "Besetzung" band at 300, the technician block at 430 and the backliner 670 lower.
    const std::vector<int> tops = bandTops(*document.pages[1]);
    EXPECT_EQ(tops, (std::vector<int>{300, 430, 930, 1100, 1600}));
    // Page 3 has its blocks at fixed places.
    EXPECT_EQ(bandTops(*document.pages[2]), (std::vector<int>{300, 800, 970, 1470}));
}

TEST_F(GigRiderReportTest, AnEventThatIsMissingHasOnlyTheFirmPages) {
    EXPECT_EQ(render(999).pageCount(), 2);
}

TEST(GigRiderRules, InstrumentSlotsKeepInnerSeparatorsAndDropTrailingOnes) {
    using GigRiderReport::instruments;
    EXPECT_EQ(instruments({"Git", "", "Voc", "", "", ""}), "Git, , Voc");
    EXPECT_EQ(instruments({"", "Bass", "", "", "", ""}), ", Bass");
    EXPECT_EQ(instruments({"Git", "", "", "", "", ""}), "Git");
    EXPECT_EQ(instruments({"", "", "", "", "", ""}), "");
}

TEST(GigRiderRules, NamesOfFirmsAndContacts) {
    using namespace GigRiderReport;
    EXPECT_EQ(firmName(true, "", "Wirt", "Ignored"), "Wirt");
    EXPECT_EQ(firmName(true, "Hans", "Wirt", ""), "Hans Wirt");
    EXPECT_EQ(firmName(false, "Hans", "Wirt", "Post GmbH"), "Post GmbH");
    EXPECT_EQ(contactName("", "Abel"), "Abel");
    EXPECT_EQ(contactName("Udo", "Zorn"), "Udo Zorn");
    EXPECT_EQ(postcodeTown("", "Au"), "Au");
    EXPECT_EQ(postcodeTown("83000", "Au"), "83000 Au");
}

} // namespace
