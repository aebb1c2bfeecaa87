// The German text order used by every filter and sort string.
#include "data/GermanCollation.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

int sign(int value) {
    return (value > 0) - (value < 0);
}

int compare(const char* a, const char* b) {
    return sign(GermanCollation::compare(a, static_cast<int>(std::strlen(a)), b,
                                         static_cast<int>(std::strlen(b))));
}

TEST(GermanCollation, DictionaryOrderIgnoringCase) {
    const struct {
        const char* a;
        const char* b;
        int expected;
    } cases[] = {
        // Case alone makes no difference.
        {"Anna", "anna", 0},
        {"MÜLLER", "müller", 0},
        {"", "", 0},
        // Umlauts and accents sort with their base letter.
        {"Ärger", "Arm", -1},
        {"Arzt", "Ärzte", -1},
        {"Ähre", "Ahorn", 1},
        {"Zebra", "Äpfel", 1},
        {"Ofen", "Öl", -1},
        {"Öl", "Otto", -1},
        {"Müller", "Mueller", 1},
        {"élan", "Elba", -1},
        // "ß" sorts as "ss".
        {"Maßband", "Masse", -1},
        {"Maße", "Mast", -1},
        // Texts that differ in more than case are never equal.
        {"Straße", "Strasse", 1},
        {"Straße", "STRASSE", 1},
        {"Ärzte", "Arzte", 1},
        {"Anna ", "Anna", 1},
        // Shorter first, case-insensitively.
        {"", "a", -1},
        {"anna", "Annabel", -1},
        {"b", "Ä", 1},
        {"B", "a", 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(compare(c.a, c.b), c.expected) << c.a << " / " << c.b;
        EXPECT_EQ(compare(c.b, c.a), -c.expected) << c.b << " / " << c.a;
    }
}

TEST(GermanCollation, UsesTheGivenLengthsAndSurvivesBrokenText) {
    // SQLite hands over buffers that are not terminated where the value ends.
    EXPECT_EQ(GermanCollation::compare("Annabel", 4, "anna!", 4), 0);
    EXPECT_LT(GermanCollation::compare("Ann", 3, "anna", 4), 0);
    // Malformed UTF-8 (a cut-off "Ä", a stray continuation byte) still gives a consistent order.
    const char* broken[] = {"\xC3", "a\x80", "\xFF\xFE", "\xE2\x82"};
    for (const char* text : broken) {
        const int length = static_cast<int>(std::strlen(text));
        EXPECT_EQ(GermanCollation::compare(text, length, text, length), 0);
        EXPECT_EQ(sign(GermanCollation::compare(text, length, "a", 1)),
                  -sign(GermanCollation::compare("a", 1, text, length)));
    }
}

} // namespace
