#include "JetFilter.h"

#include "CDaoException.h"
#include "GermanCollation.h"

#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace Jet {
namespace {

enum class Tok { End, Column, Word, Text, Number, Date, LParen, RParen, Comma, Op, Minus };

struct Token {
    Tok kind = Tok::End;
    std::string text;  // column or word name, literal text, number digits, operator
    size_t offset = 0; // byte offset in the UTF-8 input
    QDateTime date;
};

// What a value operand is, for type checks and for choosing the text collation.
enum class Category { Text, Number, YesNo, Date, BoolLiteral };

QString categoryName(Category category) {
    switch (category) {
    case Category::Text:
        return QStringLiteral("ein Text");
    case Category::Number:
        return QStringLiteral("eine Zahl");
    case Category::YesNo:
        return QStringLiteral("ein Ja/Nein-Wert");
    case Category::Date:
        return QStringLiteral("ein Datum");
    case Category::BoolLiteral:
        return QStringLiteral("True/False");
    }
    return QString();
}

Category categoryOf(JetType type) {
    switch (type) {
    case JetType::Text:
        return Category::Text;
    case JetType::DateTime:
        return Category::Date;
    case JetType::YesNo:
        return Category::YesNo;
    default:
        return Category::Number;
    }
}

bool numeric(Category c) {
    return c == Category::Number || c == Category::YesNo || c == Category::BoolLiteral;
}

bool compatible(Category a, Category b) {
    if (numeric(a) && numeric(b))
        return true;
    return a == b;
}

struct Operand {
    std::string sql;
    Category category = Category::Number;
    bool isColumn = false;
    JetType columnType = JetType::Long; // when isColumn
    int parameter = -1;                 // index of the bound value of a number literal
    std::string display;                // for messages
};

// A translated part of the filter, with what SQLite needs to read it: the depth of the
// expression tree it builds and the entries its parser stack holds meanwhile. Both are limited
// in SQLite (1000 levels of tree, 100 stack entries) and a filter beyond them fails there with
// an English message, so the translation counts them and refuses such filters itself.
struct Expr {
    std::string sql;
    int treeDepth = 0;
    int parserStack = 0;
};

// A comparison "(a = ?)", possibly with a collation, or "(a IS NULL)".
constexpr int kConditionTreeDepth = 3;
constexpr int kConditionParserStack = 4;
// Kept well below SQLite's limits; the statement around the filter needs a few entries too.
constexpr int kMaxParserStack = 60;
constexpr int kMaxTreeDepth = 500;
constexpr int kMaxParameters = 5000;
// Longer filters are cut short in messages.
constexpr int kMessageInputLength = 200;

bool equalsWord(const std::string& word, const char* keyword) {
    return word.size() == std::strlen(keyword) &&
           strncasecmp(word.c_str(), keyword, word.size()) == 0;
}

bool isWordChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
           (static_cast<unsigned char>(c) >= 0x80);
}

// A number literal ("12", "-3.5") as the value it binds; false when it is out of range.
bool numberParameter(const std::string& digits, Parameter& parameter) {
    errno = 0;
    if (digits.find('.') == std::string::npos) {
        parameter.kind = Parameter::Kind::Integer;
        parameter.integer = std::strtoll(digits.c_str(), nullptr, 10);
    } else {
        parameter.kind = Parameter::Kind::Real;
        parameter.real = std::strtod(digits.c_str(), nullptr);
    }
    return errno != ERANGE;
}

// The text between the # of a date literal as the moment it means; false when it is none.
// #m/d/yyyy#, #m/d/yyyy h:mm# or #m/d/yyyy h:mm:ss#, any blanks between date and time.
bool dateLiteral(const QString& body, QDateTime& moment) {
    static const QRegularExpression pattern(QStringLiteral(
        R"(^\s*(\d{1,2})/(\d{1,2})/(\d{4})(?:\s+(\d{1,2}):(\d{2})(?::(\d{2}))?)?\s*$)"));
    const QRegularExpressionMatch match = pattern.match(body);
    QDate date;
    QTime time(0, 0, 0);
    if (match.hasMatch()) {
        date =
            QDate(match.captured(3).toInt(), match.captured(1).toInt(), match.captured(2).toInt());
        if (match.capturedLength(4) > 0)
            time = QTime(match.captured(4).toInt(), match.captured(5).toInt(),
                         match.captured(6).toInt());
    }
    if (!date.isValid() || !time.isValid())
        return false;
    moment = QDateTime(date, time, Qt::UTC);
    return true;
}

// A date as the text bound for it, the way Date/Time columns hold their values.
std::string storedDateText(const QDateTime& moment) {
    return moment.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toStdString();
}

class Parser {
public:
    Parser(const QString& input, const SourceDef& source, bool sortMode, Dialect dialect)
        : m_input(input), m_utf8(input.toUtf8().toStdString()), m_source(source),
          m_sortMode(sortMode), m_dialect(dialect) {
        advance();
    }

    Translation parseFilter() {
        if (m_token.kind != Tok::End) {
            Expr expr = parseOr();
            if (m_token.kind != Tok::End)
                fail(unexpected());
            if (expr.parserStack > kMaxParserStack)
                fail(QStringLiteral("der Ausdruck ist zu tief verschachtelt"));
            if (expr.treeDepth > kMaxTreeDepth)
                fail(QStringLiteral("der Ausdruck hat zu viele verknüpfte Bedingungen "
                                    "(höchstens %1)")
                         .arg(kMaxTreeDepth));
            if (m_result.parameters.size() > size_t(kMaxParameters))
                fail(QStringLiteral("der Ausdruck enthält zu viele Werte (höchstens %1)")
                         .arg(kMaxParameters));
            m_result.sql = std::move(expr.sql);
        }
        return std::move(m_result);
    }

    std::string parseSort() {
        std::string sql;
        if (m_token.kind == Tok::End)
            return sql;
        for (;;) {
            if (m_token.kind != Tok::Column && m_token.kind != Tok::Word)
                fail(QStringLiteral("Feldname erwartet, %1").arg(unexpected()));
            const int column = columnIndex(m_token);
            advance();
            const ColumnDef& def = m_source.column(column);
            if (!sql.empty())
                sql += ", ";
            const std::string name = std::string("\"") + def.name + "\"";
            if (def.type != JetType::Text)
                sql += name;
            else if (m_dialect == Dialect::Server)
                sql += "lower(" + name + ")";
            else
                sql += name + " COLLATE " + GermanCollation::kName;
            m_lastDescending = false;
            if (m_token.kind == Tok::Word && equalsWord(m_token.text, "DESC")) {
                sql += " DESC";
                m_lastDescending = true;
                advance();
            } else if (m_token.kind == Tok::Word && equalsWord(m_token.text, "ASC")) {
                advance();
            }
            // Empty values come first, as in the file, where they are the smallest of all.
            if (m_dialect == Dialect::Server)
                sql += m_lastDescending ? " NULLS LAST" : " NULLS FIRST";
            if (m_token.kind == Tok::End)
                break;
            if (m_token.kind != Tok::Comma)
                fail(QStringLiteral("Komma erwartet, %1").arg(unexpected()));
            advance();
        }
        return sql;
    }

    bool lastDescending() const { return m_lastDescending; }

private:
    [[noreturn]] void fail(const QString& detail) const {
        throw CDaoException(
            CDaoException::FilterSyntax,
            QStringLiteral("Syntaxfehler %1 \"%2\": %3.")
                .arg(m_sortMode ? QStringLiteral("in der Sortierung") : QStringLiteral("im Filter"),
                     shortInput(), detail));
    }

    QString shortInput() const {
        if (m_input.size() <= kMessageInputLength)
            return m_input;
        return m_input.left(kMessageInputLength) + QStringLiteral("…");
    }

    QString unexpected() const {
        if (m_token.kind == Tok::End)
            return QStringLiteral("aber der Ausdruck endet hier");
        return QStringLiteral("unerwartet ist \"%1\" an Stelle %2")
            .arg(tokenDisplay(), position(m_token));
    }

    QString tokenDisplay() const {
        switch (m_token.kind) {
        case Tok::Column:
            return QStringLiteral("[%1]").arg(QString::fromStdString(m_token.text));
        case Tok::Text:
            return QStringLiteral("\"%1\"").arg(QString::fromStdString(m_token.text));
        case Tok::LParen:
            return QStringLiteral("(");
        case Tok::RParen:
            return QStringLiteral(")");
        case Tok::Comma:
            return QStringLiteral(",");
        case Tok::Minus:
            return QStringLiteral("-");
        default:
            return QString::fromStdString(m_token.text);
        }
    }

    // 1-based character position of a token, for messages.
    QString position(const Token& token) const {
        return QString::number(
            QString::fromUtf8(m_utf8.data(), static_cast<int>(token.offset)).size() + 1);
    }

    // --- tokens -------------------------------------------------------------------------

    void advance() {
        const size_t n = m_utf8.size();
        while (m_pos < n && (m_utf8[m_pos] == ' ' || m_utf8[m_pos] == '\t' ||
                             m_utf8[m_pos] == '\r' || m_utf8[m_pos] == '\n'))
            ++m_pos;
        m_token = Token();
        m_token.offset = m_pos;
        if (m_pos >= n)
            return;
        const char c = m_utf8[m_pos];
        switch (c) {
        case '[':
            return readBracketName();
        case '"':
        case '\'':
            return readText(c);
        case '#':
            return readDate();
        case '(':
            m_token.kind = Tok::LParen;
            ++m_pos;
            return;
        case ')':
            m_token.kind = Tok::RParen;
            ++m_pos;
            return;
        case ',':
            m_token.kind = Tok::Comma;
            ++m_pos;
            return;
        case '-':
            m_token.kind = Tok::Minus;
            m_token.text = "-";
            ++m_pos;
            return;
        case '=':
            m_token.kind = Tok::Op;
            m_token.text = "=";
            ++m_pos;
            return;
        case '<':
        case '>': {
            m_token.kind = Tok::Op;
            m_token.text = std::string(1, c);
            ++m_pos;
            if (m_pos < n && (m_utf8[m_pos] == '=' || (c == '<' && m_utf8[m_pos] == '>')))
                m_token.text += m_utf8[m_pos++];
            return;
        }
        default:
            break;
        }
        if (c >= '0' && c <= '9')
            return readNumber();
        if (isWordChar(c)) {
            const size_t start = m_pos;
            while (m_pos < n && isWordChar(m_utf8[m_pos]))
                ++m_pos;
            m_token.kind = Tok::Word;
            m_token.text = m_utf8.substr(start, m_pos - start);
            return;
        }
        size_t end = m_pos + 1;
        while (end < n && (static_cast<unsigned char>(m_utf8[end]) & 0xC0) == 0x80)
            ++end;
        m_token.text = m_utf8.substr(m_pos, end - m_pos);
        m_token.kind = Tok::Op; // only for the message
        fail(QStringLiteral("unzulässiges Zeichen \"%1\" an Stelle %2")
                 .arg(QString::fromStdString(m_token.text), position(m_token)));
    }

    void readBracketName() {
        const size_t close = m_utf8.find(']', m_pos + 1);
        if (close == std::string::npos)
            fail(QStringLiteral("die eckige Klammer ab Stelle %1 wird nicht geschlossen")
                     .arg(position(m_token)));
        m_token.kind = Tok::Column;
        m_token.text = m_utf8.substr(m_pos + 1, close - m_pos - 1);
        m_pos = close + 1;
    }

    void readText(char quote) {
        std::string text;
        size_t i = m_pos + 1;
        for (;;) {
            if (i >= m_utf8.size())
                fail(QStringLiteral("der Text ab Stelle %1 hat kein schließendes "
                                    "Anführungszeichen")
                         .arg(position(m_token)));
            if (m_utf8[i] == quote) {
                if (i + 1 < m_utf8.size() && m_utf8[i + 1] == quote) {
                    text += quote;
                    i += 2;
                    continue;
                }
                ++i;
                break;
            }
            text += m_utf8[i++];
        }
        m_token.kind = Tok::Text;
        m_token.text = std::move(text);
        m_pos = i;
    }

    void readNumber() {
        const size_t start = m_pos;
        while (m_pos < m_utf8.size() && m_utf8[m_pos] >= '0' && m_utf8[m_pos] <= '9')
            ++m_pos;
        if (m_pos < m_utf8.size() && m_utf8[m_pos] == '.') {
            ++m_pos;
            while (m_pos < m_utf8.size() && m_utf8[m_pos] >= '0' && m_utf8[m_pos] <= '9')
                ++m_pos;
        }
        if (m_pos < m_utf8.size() && isWordChar(m_utf8[m_pos]))
            fail(QStringLiteral("ungültige Zahl an Stelle %1").arg(position(m_token)));
        m_token.kind = Tok::Number;
        m_token.text = m_utf8.substr(start, m_pos - start);
    }

    void readDate() {
        const size_t close = m_utf8.find('#', m_pos + 1);
        if (close == std::string::npos)
            fail(QStringLiteral("das Datum ab Stelle %1 hat kein schließendes #")
                     .arg(position(m_token)));
        const QString body =
            QString::fromUtf8(m_utf8.data() + m_pos + 1, static_cast<int>(close - m_pos - 1));
        m_pos = close + 1;
        if (!dateLiteral(body, m_token.date))
            fail(QStringLiteral("ungültiges Datum #%1# (erwartet #Monat/Tag/Jahr Std:Min:Sek#)")
                     .arg(body));
        m_token.kind = Tok::Date;
        m_token.text = body.toStdString();
    }

    // --- grammar ------------------------------------------------------------------------

    // A chain of OR (or AND) stays flat inside one pair of brackets, so long lists of values
    // do not nest deeper than SQLite's parser allows.
    Expr parseOr() { return parseChain("OR", &Parser::parseAnd); }
    Expr parseAnd() { return parseChain("AND", &Parser::parseNot); }

    Expr parseChain(const char* word, Expr (Parser::*term)()) {
        Expr chain = (this->*term)();
        bool chained = false;
        while (m_token.kind == Tok::Word && equalsWord(m_token.text, word)) {
            advance();
            Expr next = (this->*term)();
            chain.sql += std::string(" ") + word + " " + next.sql;
            // SQLite builds the chain from the left: each further term adds a level above the
            // terms before it, and is read while the chain so far and the word wait on the stack.
            chain.treeDepth = 1 + std::max(chain.treeDepth, next.treeDepth);
            chain.parserStack = std::max(chain.parserStack, 2 + next.parserStack);
            chained = true;
        }
        if (chained)
            return bracketed(std::move(chain));
        return chain;
    }

    static Expr bracketed(Expr inner) {
        inner.sql = "(" + inner.sql + ")";
        ++inner.parserStack;
        return inner;
    }

    Expr parseNot() {
        if (m_token.kind == Tok::Word && equalsWord(m_token.text, "NOT")) {
            advance();
            enterNesting();
            Expr inner = parseNot();
            --m_depth;
            inner.sql = "(NOT " + inner.sql + ")";
            ++inner.treeDepth;
            inner.parserStack += 2;
            return inner;
        }
        return parseCondition();
    }

    // Guards the recursion of this parser itself; the limits SQLite sets are checked on the
    // whole expression.
    void enterNesting() {
        if (++m_depth > kMaxDepth)
            fail(QStringLiteral("zu tief verschachtelt (höchstens %1 Ebenen)").arg(kMaxDepth));
    }

    static Expr condition(std::string sql) {
        return Expr{std::move(sql), kConditionTreeDepth, kConditionParserStack};
    }

    Expr parseCondition() {
        if (m_token.kind == Tok::LParen) {
            advance();
            enterNesting();
            Expr inner = parseOr();
            --m_depth;
            if (m_token.kind != Tok::RParen)
                fail(QStringLiteral("schließende Klammer erwartet, %1").arg(unexpected()));
            advance();
            return bracketed(std::move(inner));
        }
        Operand left = parseOperand();
        if (m_token.kind == Tok::Op) {
            const std::string op = m_token.text;
            advance();
            Operand right = parseOperand();
            if (!compatible(left.category, right.category))
                throw CDaoException(CDaoException::TypeMismatch,
                                    QStringLiteral("Unverträgliche Datentypen im Filter \"%1\": "
                                                   "%2 ist %3 und kann nicht mit %4 (%5) "
                                                   "verglichen werden.")
                                        .arg(shortInput(), QString::fromStdString(left.display),
                                             categoryName(left.category),
                                             QString::fromStdString(right.display),
                                             categoryName(right.category)));
            roundLikeSingleColumn(left, right);
            roundLikeSingleColumn(right, left);
            if (left.category == Category::Text && m_dialect == Dialect::Server)
                return condition("(lower(" + left.sql + ") " + op + " lower(" + right.sql + "))");
            std::string sql = "(" + left.sql;
            if (left.category == Category::Text)
                sql += std::string(" COLLATE ") + GermanCollation::kName;
            return condition(sql + " " + op + " " + right.sql + ")");
        }
        if (m_token.kind == Tok::Word && equalsWord(m_token.text, "IS")) {
            advance();
            bool negated = false;
            if (m_token.kind == Tok::Word && equalsWord(m_token.text, "NOT")) {
                negated = true;
                advance();
            }
            if (m_token.kind != Tok::Word || !equalsWord(m_token.text, "NULL"))
                fail(QStringLiteral("nach \"Is\" wird \"Null\" erwartet, %1").arg(unexpected()));
            advance();
            return condition("(" + left.sql + (negated ? " IS NOT NULL)" : " IS NULL)"));
        }
        // A lone Yes/No column or True/False is a condition of its own.
        if (left.category == Category::YesNo || left.category == Category::BoolLiteral)
            return condition("(" + left.sql + " <> 0)");
        fail(QStringLiteral("Vergleichsoperator erwartet, %1").arg(unexpected()));
    }

    // A Single column holds its values in single precision: 1.1 is stored as the float nearest
    // to 1.1, which is not the double 1.1. A number compared with such a column is rounded the
    // same way, so that [EGageVereinb]=1.1 finds the row on which 1.1 was entered, and < or >
    // do not count it on the wrong side. Numbers beyond the float range stay as they are.
    void roundLikeSingleColumn(const Operand& column, const Operand& literal) {
        if (!column.isColumn || column.columnType != JetType::Single || literal.parameter < 0)
            return;
        Parameter& parameter = m_result.parameters[size_t(literal.parameter)];
        parameter.single = true;
        roundForSingle(parameter);
    }

    Operand parseOperand() {
        Operand operand;
        switch (m_token.kind) {
        case Tok::Column:
            return columnOperand();
        case Tok::Word:
            if (equalsWord(m_token.text, "TRUE") || equalsWord(m_token.text, "FALSE")) {
                operand.sql = equalsWord(m_token.text, "TRUE") ? "-1" : "0";
                operand.category = Category::BoolLiteral;
                operand.display = m_token.text;
                advance();
                return operand;
            }
            if (isKeyword(m_token.text))
                fail(QStringLiteral("Wert oder Feldname erwartet, %1").arg(unexpected()));
            return columnOperand();
        case Tok::Text:
            operand.category = Category::Text;
            operand.display = "\"" + m_token.text + "\"";
            bindText(m_token.text);
            operand.sql = "?";
            advance();
            return operand;
        case Tok::Date:
            operand.category = Category::Date;
            operand.display = "#" + m_token.text + "#";
            bindText(storedDateText(m_token.date));
            operand.sql = "?";
            advance();
            return operand;
        case Tok::Minus:
            advance();
            if (m_token.kind != Tok::Number)
                fail(QStringLiteral("Zahl nach \"-\" erwartet, %1").arg(unexpected()));
            return numberOperand(true);
        case Tok::Number:
            return numberOperand(false);
        default:
            fail(QStringLiteral("Wert oder Feldname erwartet, %1").arg(unexpected()));
        }
    }

    static bool isKeyword(const std::string& word) {
        for (const char* keyword : {"AND", "OR", "NOT", "IS", "NULL", "ASC", "DESC"}) {
            if (equalsWord(word, keyword))
                return true;
        }
        return false;
    }

    int columnIndex(const Token& token) const {
        const int index = m_source.indexOf(token.text);
        if (index < 0)
            throw CDaoException(CDaoException::UnknownField,
                                QStringLiteral("Das Feld [%1] gibt es in [%2] nicht (%3 \"%4\").")
                                    .arg(QString::fromStdString(token.text),
                                         QString::fromUtf8(m_source.name()),
                                         m_sortMode ? QStringLiteral("in der Sortierung")
                                                    : QStringLiteral("im Filter"),
                                         shortInput()));
        return index;
    }

    Operand columnOperand() {
        const ColumnDef& def = m_source.column(columnIndex(m_token));
        Operand operand;
        operand.sql = std::string("\"") + def.name + "\"";
        operand.category = categoryOf(def.type);
        operand.isColumn = true;
        operand.columnType = def.type;
        operand.display = std::string("[") + def.name + "]";
        advance();
        return operand;
    }

    Operand numberOperand(bool negative) {
        Operand operand;
        operand.category = Category::Number;
        const std::string digits = (negative ? "-" : "") + m_token.text;
        operand.display = digits;
        Parameter parameter;
        if (!numberParameter(digits, parameter))
            fail(QStringLiteral("die Zahl %1 ist zu groß").arg(QString::fromStdString(digits)));
        operand.parameter = static_cast<int>(m_result.parameters.size());
        // The server would take a parameter compared with a whole-number column for a whole
        // number and refuse "1.5"; a number with a fraction says what it is.
        operand.sql = parameter.kind == Parameter::Kind::Real && m_dialect == Dialect::Server
                          ? "CAST(? AS numeric)"
                          : "?";
        m_result.parameters.push_back(std::move(parameter));
        advance();
        return operand;
    }

    void bindText(std::string text) {
        Parameter parameter;
        parameter.kind = Parameter::Kind::Text;
        parameter.text = std::move(text);
        m_result.parameters.push_back(std::move(parameter));
    }

    const QString& m_input;
    std::string m_utf8;
    const SourceDef& m_source;
    bool m_sortMode;
    Dialect m_dialect;
    size_t m_pos = 0;
    Token m_token;
    Translation m_result; // the parameters collect here while the SQL is built
    bool m_lastDescending = false;
    static constexpr int kMaxDepth = 64;
    int m_depth = 0;
};

} // namespace

Translation translateFilter(const QString& filter, const SourceDef& source, Dialect dialect) {
    Parser parser(filter, source, false, dialect);
    return parser.parseFilter();
}

std::string translateSort(const QString& sort, const SourceDef& source, Dialect dialect) {
    Parser parser(sort, source, true, dialect);
    std::string sql = parser.parseSort();
    // Rows that tie on every sort column keep the order in which they were stored.
    if (!source.isView()) {
        if (sql.empty())
            return "rowid";
        sql += parser.lastDescending() ? ", rowid DESC" : ", rowid";
    }
    return sql;
}

void roundForSingle(Parameter& parameter) {
    const double value = parameter.kind == Parameter::Kind::Integer
                             ? static_cast<double>(parameter.integer)
                             : parameter.real;
    if (parameter.kind == Parameter::Kind::Text || std::fabs(value) > FLT_MAX)
        return;
    parameter.kind = Parameter::Kind::Real;
    parameter.real = static_cast<double>(static_cast<float>(value));
}

// Reads the filter the way the parser's tokens do, but only as far as needed to find the
// literals; everything else goes into the shape as it stands.
bool splitLiterals(const QString& filter, Literals& literals) {
    literals.shape.resize(0); // keeps the memory, unlike clear()
    literals.values.clear();
    literals.shape.reserve(filter.size());
    const QChar* const text = filter.constData();
    const qsizetype n = filter.size();
    auto isWord = [](char16_t c) {
        return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
               c == u'_' || c >= 0x80;
    };
    auto isDigit = [](char16_t c) { return c >= u'0' && c <= u'9'; };
    auto mark = [&literals](char16_t kind) {
        literals.shape += QChar(u'\x01');
        literals.shape += QChar(kind);
    };
    bool negative = false; // a "-" before a number makes it negative
    qsizetype i = 0;
    while (i < n) {
        const char16_t c = text[i].unicode();
        if (c == u' ' || c == u'\t' || c == u'\r' || c == u'\n') {
            literals.shape += text[i++];
            continue;
        }
        if (c == u'-') {
            literals.shape += text[i++];
            negative = true;
            continue;
        }
        const bool signedNumber = negative;
        negative = false;
        if (isDigit(c)) {
            const qsizetype start = i;
            while (i < n && isDigit(text[i].unicode()))
                ++i;
            bool real = false;
            if (i < n && text[i] == u'.') {
                real = true;
                ++i;
                while (i < n && isDigit(text[i].unicode()))
                    ++i;
            }
            if (i < n && isWord(text[i].unicode()))
                return false;
            std::string digits = signedNumber ? "-" : "";
            for (qsizetype d = start; d < i; ++d)
                digits += static_cast<char>(text[d].unicode());
            Parameter parameter;
            if (!numberParameter(digits, parameter))
                return false;
            literals.values.push_back(std::move(parameter));
            mark(real ? u'R' : u'N');
        } else if (isWord(c)) {
            while (i < n && isWord(text[i].unicode()))
                literals.shape += text[i++];
        } else if (c == u'[') {
            const qsizetype close = filter.indexOf(QLatin1Char(']'), i + 1);
            if (close < 0)
                return false;
            for (; i <= close; ++i) {
                // Control characters never stand in the shape, so no name looks like a mark.
                if (text[i].unicode() < 0x20)
                    return false;
                literals.shape += text[i];
            }
        } else if (c == u'"' || c == u'\'') {
            std::u16string value;
            for (++i;; ++i) {
                if (i >= n)
                    return false;
                if (text[i].unicode() == c) {
                    if (i + 1 < n && text[i + 1].unicode() == c) {
                        value += c;
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
                value += text[i].unicode();
            }
            Parameter parameter;
            parameter.kind = Parameter::Kind::Text;
            parameter.text = QStringView(value).toUtf8().toStdString();
            literals.values.push_back(std::move(parameter));
            mark(u'T');
        } else if (c == u'#') {
            const qsizetype close = filter.indexOf(QLatin1Char('#'), i + 1);
            if (close < 0)
                return false;
            QDateTime moment;
            if (!dateLiteral(filter.mid(i + 1, close - i - 1), moment))
                return false;
            i = close + 1;
            Parameter parameter;
            parameter.kind = Parameter::Kind::Text;
            parameter.text = storedDateText(moment);
            literals.values.push_back(std::move(parameter));
            mark(u'D');
        } else if (c == u'(' || c == u')' || c == u',' || c == u'=' || c == u'<' || c == u'>') {
            literals.shape += text[i++];
        } else {
            return false;
        }
    }
    return true;
}

QString quoted(const QString& text) {
    QString doubled = text;
    doubled.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + doubled + QLatin1Char('"');
}

QString dateTimeLiteral(const QDateTime& moment) {
    return QLatin1Char('#') + moment.toString(QStringLiteral("MM/dd/yyyy HH:mm:ss")) +
           QLatin1Char('#');
}

QString dayRangeFilter(const QString& column, const QDate& first, const QDate& last) {
    const QDate before = first.addDays(-1);
    const QDate after = last.addDays(1);
    return QStringLiteral("[%1]>#%2  23:59:59# AND [%1]<#%3 00:00:00#")
        .arg(column, before.toString(QStringLiteral("MM/dd/yyyy")),
             after.toString(QStringLiteral("MM/dd/yyyy")));
}

} // namespace Jet
