#pragma once

#include "core/Version.h"

// The program's document: it holds no data of its own, everything lives in the database.
class CKavioDoc {
public:
    static constexpr const char* kTitle = "Vorlanto " VORLANTO_VERSION;
    static constexpr const char* kDocumentName = "Vorlanto";
};
