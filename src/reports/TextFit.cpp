#include "TextFit.h"

#include <algorithm>
#include <cmath>

namespace Report {

namespace {

const QChar kEllipsis(0x2026);

// The pieces a text may be wrapped between: its words at blanks (runs of blanks count as one),
// and the parts of a hyphenated word after each hyphen, which keep no blank between them.
struct Piece {
    QString text;
    bool afterBlank = true;
};

std::vector<Piece> pieces(const QString& text) {
    std::vector<Piece> result;
    for (const QString& word : text.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        int start = 0;
        for (int at = word.indexOf(QLatin1Char('-'), 1); at > 0 && at + 1 < word.size();
             at = word.indexOf(QLatin1Char('-'), at + 1)) {
            result.push_back({word.mid(start, at + 1 - start), start == 0});
            start = at + 1;
        }
        result.push_back({word.mid(start), start == 0});
    }
    return result;
}

// The longest start of `word` that fits `width` (at least one character).
int fittingPrefix(const QString& word, const ReportFont& font, double width) {
    int length = 1;
    while (length < word.size() && font.textWidth(word.left(length + 1)) <= width)
        ++length;
    return length;
}

// Greedy wrapping between pieces. Without `breakWords` a piece wider than the box makes the
// text unfit (empty list); with it the piece is broken between its characters.
QStringList wrap(const QString& text, const ReportFont& font, double width, bool breakWords) {
    QStringList lines;
    QString line;
    for (const Piece& piece : pieces(text)) {
        const QString joined = line.isEmpty()     ? piece.text
                               : piece.afterBlank ? line + QLatin1Char(' ') + piece.text
                                                  : line + piece.text;
        if (font.textWidth(joined) <= width) {
            line = joined;
            continue;
        }
        if (!line.isEmpty())
            lines.append(line);
        line.clear();
        QString rest = piece.text;
        while (font.textWidth(rest) > width) {
            if (!breakWords)
                return {};
            const int length = fittingPrefix(rest, font, width);
            lines.append(rest.left(length));
            rest = rest.mid(length);
        }
        line = rest;
    }
    if (!line.isEmpty() || lines.isEmpty())
        lines.append(line);
    return lines;
}

// `line` shortened until it fits together with "…".
QString elide(QString line, const ReportFont& font, double width) {
    // No line of a page holds more than a few hundred characters.
    line.truncate(400);
    while (!line.isEmpty() && font.textWidth(line + kEllipsis) > width)
        line.chop(1);
    return line.trimmed() + kEllipsis;
}

int linesInBox(const ReportFont& font, double height) {
    return std::max(1, int(std::floor(height / font.lineHeight() + 1e-9)));
}

} // namespace

ReportFont scaledFont(const ReportFont& font, int percent) {
    ReportFont scaled = font;
    scaled.height = std::max(1, int(std::lround(font.height * percent / 100.0)));
    return scaled;
}

FittedText fitText(const QString& text, const ReportFont& font, double width, double height,
                   int smallestPercent) {
    if (font.fitsWidth(text, width))
        return {font, QStringList{text}, false};
    const int smallest = std::max(1, int(std::ceil(font.height * smallestPercent / 100.0 - 1e-9)));
    for (int size = font.height; size >= smallest; --size) {
        ReportFont candidate = font;
        candidate.height = size;
        const QStringList lines = wrap(text, candidate, width, false);
        if (!lines.isEmpty() && lines.size() <= linesInBox(candidate, height))
            return {candidate, lines, false};
    }
    ReportFont smallestFont = font;
    smallestFont.height = smallest;
    QStringList lines = wrap(text, smallestFont, width, true);
    const int room = linesInBox(smallestFont, height);
    if (lines.size() <= room)
        return {smallestFont, lines, false};
    // The lines that do not fit are joined again as they were broken: after a hyphen without a
    // blank.
    QString rest;
    for (const QString& line : lines.mid(room - 1))
        rest +=
            (rest.isEmpty() || rest.endsWith(QLatin1Char('-')) ? QString() : QStringLiteral(" ")) +
            line;
    lines = lines.mid(0, room - 1);
    lines.append(elide(rest, smallestFont, width));
    return {smallestFont, lines, true};
}

} // namespace Report
