// The outcome of one number lookup, as the lookup dialog and the batch tool consume it.
#pragma once

#include <string>

enum LookupStatus {
    LOOKUP_FOUND,        // exactly one row for the prefix; the five texts hold it
    LOOKUP_BAD_NUMBER,   // the text is no 13x/15x number of at least seven bytes; no file was touched
    LOOKUP_NO_DATABASE,  // the data file could not be opened or read (missing, damaged, locked)
    LOOKUP_NOT_FOUND,    // the file was read and holds no single row for the prefix
};

// Texts are the data file's bytes (GBK), unconverted and untrimmed; all empty unless found.
struct LookupResult {
    LookupStatus status = LOOKUP_NOT_FOUND;
    std::string province;
    std::string city;
    std::string type;
    std::string areaCode;
    std::string postCode;
};
