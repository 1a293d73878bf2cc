// The printed form of one answer: everything on the tool's output line after the number.
#pragma once

#include "LookupResult.h"
#include "Utf8FromGbk.h"

#include <string>

// One answer of the tool: the lookup's result and the fields printed for it.
struct BatchAnswer {
    LookupResult result;
    std::string fields;  // AnswerFields(result)
};

// The status word as the tool prints it: found, bad-number, no-database, not-found.
const char* StatusWord(LookupStatus status);

// "\t<status>\t<province>\t<city>\t<type>\t<area code>\t<postal code>\n", the texts in UTF-8.
std::string AnswerFields(const LookupResult& result, Utf8FromGbk& utf8);

BatchAnswer MakeAnswer(LookupResult result, Utf8FromGbk& utf8);
