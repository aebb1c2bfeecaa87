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
        // The next line begins below the song's whole line, descenders included.
        y += std::max(30, int(std::ceil(ReportFonts::Song.lineHeight())));
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

// Where a line shared by a text on the left and one on the right is divided: each side gets
// the room it needs when both fit, otherwise the right side up to half of the line.
int sideBySide(double leftWidth, double rightWidth, int left, int right) {
    const int room = right - left - PageFrame::kTextGap;
    if (leftWidth + rightWidth <= room)
        return right - int(std::ceil(rightWidth));
    const int rightPart =
        int(std::ceil(std::min(rightWidth, std::max(room - leftWidth, room / 2.0))));
    return right - rightPart;
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
        // The venue line on the left and the contact lines on the right share the head's
        // height: each keeps to its side.
        const QString title = QStringLiteral("Set %1").arg(set.setNumber);
        const QString venue = QStringLiteral("%1, %2").arg(location, PageFrame::shortDate(begin));
        const QString info = PageFrame::infoLine(user);
        const QString contact = PageFrame::contactLine(user);
        const int titleEnd =
            100 + int(std::ceil(ReportFonts::SetTitle.textWidth(title))) + PageFrame::kTextGap;
        const int split = sideBySide(
            ReportFonts::Subtitle.textWidth(venue),
            std::max(ReportFonts::Info.textWidth(info), ReportFonts::Info.textWidth(contact)), 100,
            right);
        sheet.selectFont(ReportFonts::SetTitle);
        sheet.text(100, y0 + 10, title);
        sheet.selectFont(ReportFonts::Subtitle);
        sheet.fittedText(
            QRect(QPoint(100, y0 + 120), QPoint(split - PageFrame::kTextGap, y0 + 180)),
            Align::Left, venue);
        sheet.selectFont(ReportFonts::Band);
        sheet.fittedText(QRect(QPoint(titleEnd, y0 + 20), QPoint(right - 1, y0 + 84)), Align::Right,
                         user.band);
        sheet.selectFont(ReportFonts::Info);
        sheet.fittedText(
            QRect(QPoint(std::max(titleEnd, split), y0 + 85), QPoint(right - 1, y0 + 124)),
            Align::Right, info);
        if (!contact.isEmpty())
            sheet.fittedText(QRect(QPoint(split, y0 + 125), QPoint(right - 1, y0 + 182)),
                             Align::Right, contact);
        sheet.setPen(Report::Pen::Solid2);
        sheet.line(100, y0 + 185, right, y0 + 185);
        const QRectF extent = set.page->extent();
        sheet.page(QRect(QPoint(200, 300), QPoint(200 + int(std::lround(factor * extent.right())),
                                                  300 + int(std::lround(factor * extent.bottom()))))
                       .adjusted(0, 0, -1, -1),
                   set.page);
        document.pages.push_back(std::make_shared<const Report::RecordedPage>(sheet.finish()));
    }
    PageFrame::numberPages(document, metrics, right);
    return document;
}

} // namespace SetListPrint
