#pragma once

#include <QFont>
#include <QRectF>
#include <QString>

// The fonts of the printed pages. Sizes are in tenths of a millimetre, like every coordinate of
// a report: most are character heights (the em), a few are cell heights (ascent plus descent).
// "ARIAL" and "Times New Roman" are drawn with their metric-compatible faces Liberation Sans and
// Liberation Serif, so that text measured for the original faces takes the same room.
struct ReportFont {
    enum Face { Arial, TimesNewRoman };
    Face face = Arial;
    int height = 30;
    bool cellHeight = false;
    bool bold = false;
    bool italic = false;
    bool underline = false;

    bool operator==(const ReportFont& other) const {
        return face == other.face && height == other.height && cellHeight == other.cellHeight &&
               bold == other.bold && italic == other.italic && underline == other.underline;
    }
    bool operator!=(const ReportFont& other) const { return !(*this == other); }

    // "ARIAL 60 bold", "Times New Roman 35 italic", "ARIAL 100 cell".
    QString describe() const;
    // The Qt font, sized in tenths of a millimetre (pixel size in report units).
    QFont qfont() const;
    // Measures in tenths of a millimetre, independent of any screen's hinting.
    double textWidth(const QString& text) const;
    // Whether the text is at most `width` wide. Answered from the characters' own advances where
    // they leave no doubt, which spares shaping the whole text for the many texts that fit.
    bool fitsWidth(const QString& text, double width) const;
    double ascent() const;
    // Ascent plus descent: the height of a line's cell.
    double lineHeight() const;
    // The ink of the text, relative to the top-left corner of its cell (the pen starts at x 0,
    // the cell's top is y 0): where the glyphs really put black on the page.
    QRectF inkBounds(const QString& text) const;
    // The em in report units: the height itself, or the em whose cell is that high.
    double emSize() const;
};

namespace ReportFonts {

constexpr int kCount = 13;
// The main-window reports' fonts 0 to 12.
const ReportFont& font(int index);

// The fonts of the set-list print.
extern const ReportFont SetTitle; // "Set 1": ARIAL, 120 cell height
extern const ReportFont Song;     // title and key
extern const ReportFont Small;    // tempo and remark
extern const ReportFont Band;     // the band's name
extern const ReportFont Info;     // the contact lines
extern const ReportFont Subtitle; // location and date

// The family a face is drawn with.
QString family(ReportFont::Face face);

} // namespace ReportFonts
