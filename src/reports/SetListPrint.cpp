#include "SetListPrint.h"

#include "PageFrame.h"
#include "core/MessageService.h"
#include "data/CDaoException.h"
#include "data/RecordSets.h"

#include <cmath>

using Report::Align;
using Report::PageRecorder;

namespace SetListPrint {

namespace {

struct Song {
    int setNumber = 0;
    QString title;
    QString key;
    int tempo = 0;
    QString remark;
};

std::vector<SetPage> recordSets(const std::vector<Song>& songs) {
    // The keys stand in one column right of the longest title of the whole list.
    double longest = 0;
    for (const Song& song : songs)
        longest = std::max(longest, ReportFonts::Song.textWidth(song.title));
    const int keyColumn = int(std::lround(longest)) + 30;

    std::vector<SetPage> sets;
    PageRecorder recorder;
    int y = 0;
    int setNumber = 0;
    const auto close = [&] {
        if (setNumber > 0)
            sets.push_back(
                {setNumber, std::make_shared<const Report::RecordedPage>(recorder.finish())});
    };
    for (const Song& song : songs) {
        if (setNumber == 0 || song.setNumber != setNumber) {
            close();
            setNumber = song.setNumber;
            recorder.setBackgroundOpaque(false);
            y = 0;
        }
        recorder.selectFont(ReportFonts::Song);
        recorder.text(0, y, song.title);
        recorder.text(keyColumn, y, song.key);
        y += 30;
        recorder.selectFont(ReportFonts::Small);
        if (song.tempo > 0)
            recorder.text(0, y, QStringLiteral("Tempo: %1").arg(song.tempo));
        if (!song.remark.isEmpty())
            recorder.text(80, y, song.remark);
        y += 20;
    }
    close();
    return sets;
}

} // namespace

double scale(const PageMetrics& metrics, double maxRight, double maxBottom) {
    const double areaWidth = metrics.width - 60 - 200;
    const double areaHeight = metrics.height - 200 - 300;
    if (maxRight <= 0 || maxBottom <= 0)
        return 1.0;
    return areaHeight >= areaWidth * maxBottom / maxRight ? areaWidth / maxRight
                                                          : areaHeight / maxBottom;
}

Report::Document render(CDatabase& db, std::int32_t eventId, const UserProfile& user,
                        const PageMetrics& metrics) {
    Report::Document document;
    document.title = QStringLiteral("Setliste");
    std::vector<Song> songs;
    QString location;
    QDate begin;
    try {
        CSetEvent event(db);
        event.open(QStringLiteral("[EventID]=%1").arg(eventId));
        if (!event.atEnd()) {
            location = event.getText("ELocation");
            begin = event.getDate("EBeginn").date();
        }
        CSetAbfrEventSetliste list(db);
        list.open(QStringLiteral("[EventID]=%1").arg(eventId), QStringLiteral("[SetNr], [LfdNr]"));
        for (; !list.atEnd(); list.moveNext()) {
            Song song;
            song.setNumber = list.getInt("SetNr");
            song.title = list.getText("Titel");
            song.key = list.getText("Tonart");
            song.tempo = list.isNull("Tempo") ? 0 : list.getInt("Tempo");
            song.remark = list.getText("Bemerkung");
            songs.push_back(song);
        }
    } catch (const CDaoException& error) {
        MessageService::stop(nullptr, error.description());
        return document;
    }

    const std::vector<SetPage> sets = recordSets(songs);
    double maxRight = 0;
    double maxBottom = 0;
    for (const SetPage& set : sets) {
        maxRight = std::max(maxRight, set.page->extent().right());
        maxBottom = std::max(maxBottom, set.page->extent().bottom());
    }
    const double factor = scale(metrics, maxRight, maxBottom);
    const int y0 = metrics.offsetY;
    const int right = metrics.width - 100;
    for (const SetPage& set : sets) {
        PageRecorder sheet(metrics.sheet());
        sheet.setBackgroundOpaque(false);
        sheet.selectFont(ReportFonts::SetTitle);
        sheet.text(100, y0 + 10, QStringLiteral("Set %1").arg(set.setNumber));
        sheet.selectFont(ReportFonts::Subtitle);
        sheet.textInRect(QRect(100, y0 + 120, right - 100, 150), Align::Left,
                         QStringLiteral("%1, %2").arg(location, PageFrame::shortDate(begin)));
        sheet.selectFont(ReportFonts::Band);
        sheet.textInRect(QRect(100, y0 + 20, right - 100, 150), Align::Right, user.band);
        sheet.selectFont(ReportFonts::Info);
        sheet.textInRect(QRect(100, y0 + 85, right - 100, 150), Align::Right,
                         PageFrame::infoLine(user));
        const QString contact = PageFrame::contactLine(user);
        if (!contact.isEmpty())
            sheet.textInRect(QRect(100, y0 + 125, right - 100, 150), Align::Right, contact);
        sheet.setPen(Report::Pen::Solid2);
        sheet.line(100, y0 + 185, right, y0 + 185);
        const QRectF extent = set.page->extent();
        sheet.page(QRect(QPoint(200, 300), QPoint(200 + int(std::lround(factor * extent.right())),
                                                  300 + int(std::lround(factor * extent.bottom()))))
                       .adjusted(0, 0, -1, -1),
                   set.page);
        document.pages.push_back(std::make_shared<const Report::RecordedPage>(sheet.finish()));
    }
    return document;
}

} // namespace SetListPrint
