// Columns found by name: every column of every table and saved query under its own name and in
// any case, and no column under a name that differs from all of them.
#include "data/Schema.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

namespace {

// The column a name means by the rules: the one spelt so, else the one spelt so in any case.
int expectedIndex(const SourceDef& source, const std::string& name) {
    for (int i = 0; i < source.columnCount(); ++i) {
        if (name == source.column(i).name)
            return i;
    }
    for (int i = 0; i < source.columnCount(); ++i) {
        const std::string column = source.column(i).name;
        if (column.size() == name.size() &&
            std::equal(column.begin(), column.end(), name.begin(), [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) ==
                       std::tolower(static_cast<unsigned char>(b));
            }))
            return i;
    }
    return -1;
}

// Every name of the source, and each with every single byte changed, cut or extended.
void expectNamesFound(const SourceDef& source) {
    for (int i = 0; i < source.columnCount(); ++i) {
        const std::string name = source.column(i).name;
        EXPECT_EQ(source.indexOf(name), i) << source.name() << "." << name;
        std::string upper = name;
        for (char& c : upper)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        EXPECT_EQ(source.indexOf(upper), expectedIndex(source, upper)) << upper;

        std::vector<std::string> near{name + "x", name.substr(0, name.size() - 1), name.substr(1),
                                      name + std::string(1, '\0')};
        for (size_t at = 0; at < name.size(); ++at) {
            std::string changed = name;
            changed[at] = static_cast<char>(changed[at] ^ 0x01);
            near.push_back(changed);
        }
        for (const std::string& other : near)
            EXPECT_EQ(source.indexOf(other), expectedIndex(source, other))
                << source.name() << ": \"" << other << "\" near " << name;
    }
}

TEST(ColumnNames, EveryColumnOfTheSchemaIsFoundAndNoOtherName) {
    for (const SourceDef* table : Schema::tables())
        expectNamesFound(*table);
    for (const SourceDef* view : Schema::views())
        expectNamesFound(*view);
}

TEST(ColumnNames, NamesOfEveryLengthAndAlikeButForOneByte) {
    // Names of one to forty bytes, each pair alike but for a single byte somewhere inside, so
    // that every part of a name must be compared.
    std::vector<std::string> names;
    for (size_t length = 1; length <= 40; ++length) {
        std::string name(length, 'a');
        name[length / 2] = 'b';
        names.push_back(name);
        name[length / 2] = 'c';
        names.push_back(name);
    }
    std::vector<ColumnDef> columns;
    for (const std::string& name : names)
        columns.push_back({name.c_str(), JetType::Text});
    const SourceDef source("T_Lang", columns, nullptr, nullptr);
    expectNamesFound(source);
    EXPECT_EQ(source.indexOf(""), -1);
    EXPECT_EQ(source.indexOf(std::string(41, 'a')), -1);
}

} // namespace
