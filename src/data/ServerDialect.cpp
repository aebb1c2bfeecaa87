#include "ServerDialect.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace ServerDialect {

std::string placeholders(std::string_view sql) {
    std::string out;
    out.reserve(sql.size() + 8);
    int highest = 0;
    char quote = 0; // the quote character of the text or name being read, or none
    for (size_t i = 0; i < sql.size(); ++i) {
        const char c = sql[i];
        if (quote) {
            out += c;
            if (c == quote)
                quote = 0; // a doubled quote closes and opens again: the same result
            continue;
        }
        if (c == '\'' || c == '"') {
            quote = c;
            out += c;
            continue;
        }
        if (c != '?') {
            out += c;
            continue;
        }
        size_t end = i + 1;
        while (end < sql.size() && sql[end] >= '0' && sql[end] <= '9')
            ++end;
        int number = highest + 1;
        if (end > i + 1)
            number = std::stoi(std::string(sql.substr(i + 1, end - i - 1)));
        highest = std::max(highest, number);
        out += '$';
        out += std::to_string(number);
        i = end - 1;
    }
    return out;
}

std::string singleText(double value) {
    char buffer[32];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, static_cast<float>(value));
    return std::string(buffer, written.ptr);
}

std::string parameterText(const Jet::Parameter& parameter) {
    switch (parameter.kind) {
    case Jet::Parameter::Kind::Integer:
        return std::to_string(parameter.integer);
    case Jet::Parameter::Kind::Real: {
        if (parameter.single)
            return singleText(parameter.real);
        char buffer[32];
        const auto written = std::to_chars(buffer, buffer + sizeof buffer, parameter.real);
        return std::string(buffer, written.ptr);
    }
    case Jet::Parameter::Kind::Text:
        break;
    }
    return parameter.text;
}

} // namespace ServerDialect
