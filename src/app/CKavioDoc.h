#pragma once

// The program's document: it holds no data of its own, everything lives in the database.
class CKavioDoc {
public:
    static constexpr const char* kTitle = "Vorlanto 2.0";
    static constexpr const char* kDocumentName = "Vorlanto";
};
