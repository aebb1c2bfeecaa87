#include "GermanCollation.h"

#include <QChar>
#include <QString>

#include <sqlite3.h>

namespace {

// Reads one code point of UTF-8; malformed bytes are taken as they are.
char32_t decodeUtf8(const unsigned char*& p, const unsigned char* end) {
    const unsigned char lead = *p++;
    if (lead < 0x80)
        return lead;
    int extra = 0;
    char32_t cp = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        cp = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        cp = lead & 0x07;
    } else {
        return lead;
    }
    for (int i = 0; i < extra; ++i) {
        if (p == end || (*p & 0xC0) != 0x80)
            return 0xFFFD;
        cp = (cp << 6) | (*p++ & 0x3F);
    }
    return cp;
}

char32_t caseFold(char32_t cp) {
    if (cp < 0x80)
        return (cp >= 'A' && cp <= 'Z') ? cp + 32 : cp;
    return QChar::toCaseFolded(static_cast<char32_t>(cp));
}

// The base letters of a folded code point for the first comparison level: up to three letters.
int baseLetters(char32_t cp, char32_t out[3]) {
    if (cp < 0x80) {
        out[0] = cp;
        return 1;
    }
    switch (cp) {
    case U'ß':
        out[0] = 's';
        out[1] = 's';
        return 2;
    case U'æ':
        out[0] = 'a';
        out[1] = 'e';
        return 2;
    case U'œ':
        out[0] = 'o';
        out[1] = 'e';
        return 2;
    case U'ø':
        out[0] = 'o';
        return 1;
    case U'đ':
    case U'ð':
        out[0] = 'd';
        return 1;
    case U'þ':
        out[0] = 't';
        out[1] = 'h';
        return 2;
    case U'ł':
        out[0] = 'l';
        return 1;
    default:
        break;
    }
    const QChar::Decomposition tag = QChar::decompositionTag(cp);
    if (tag == QChar::Canonical || tag == QChar::Compat) {
        const QString parts = QChar::decomposition(cp);
        if (!parts.isEmpty()) {
            const char32_t base = parts.at(0).unicode();
            out[0] = caseFold(base);
            return 1;
        }
    }
    out[0] = cp;
    return 1;
}

// Walks a UTF-8 text as folded code points; on the first level also as base letters.
class FoldedText {
public:
    FoldedText(const char* text, int length, bool baseLevel)
        : m_p(reinterpret_cast<const unsigned char*>(text)), m_end(m_p + length),
          m_baseLevel(baseLevel) {}

    bool atEnd() const { return m_pending == m_taken && m_p == m_end; }

    char32_t next() {
        if (m_taken < m_pending)
            return m_buffer[m_taken++];
        const char32_t folded = caseFold(decodeUtf8(m_p, m_end));
        if (!m_baseLevel)
            return folded;
        m_pending = baseLetters(folded, m_buffer);
        m_taken = 1;
        return m_buffer[0];
    }

private:
    const unsigned char* m_p;
    const unsigned char* m_end;
    bool m_baseLevel;
    char32_t m_buffer[3] = {0, 0, 0};
    int m_pending = 0;
    int m_taken = 0;
};

int compareLevel(const char* a, int lengthA, const char* b, int lengthB, bool baseLevel) {
    FoldedText left(a, lengthA, baseLevel);
    FoldedText right(b, lengthB, baseLevel);
    while (!left.atEnd() && !right.atEnd()) {
        const char32_t l = left.next();
        const char32_t r = right.next();
        if (l != r)
            return l < r ? -1 : 1;
    }
    if (left.atEnd() && right.atEnd())
        return 0;
    return left.atEnd() ? -1 : 1;
}

int collate(void*, int lengthA, const void* a, int lengthB, const void* b) {
    return GermanCollation::compare(static_cast<const char*>(a), lengthA,
                                    static_cast<const char*>(b), lengthB);
}

} // namespace

namespace GermanCollation {

int compare(const char* a, int lengthA, const char* b, int lengthB) {
    const int base = compareLevel(a, lengthA, b, lengthB, true);
    if (base != 0)
        return base;
    return compareLevel(a, lengthA, b, lengthB, false);
}

void install(sqlite3* db) {
    sqlite3_create_collation_v2(db, kName, SQLITE_UTF8, nullptr, &collate, nullptr);
}

} // namespace GermanCollation
