// The printed form of one answer.
#include "AnswerFields.h"

const char* StatusWord(LookupStatus status)
{
    switch (status) {
    case LOOKUP_FOUND: return "found";
    case LOOKUP_BAD_NUMBER: return "bad-number";
    case LOOKUP_NO_DATABASE: return "no-database";
    case LOOKUP_NOT_FOUND: return "not-found";
    }
    return "unknown";
}

std::string AnswerFields(const LookupResult& result, Utf8FromGbk& utf8)
{
    std::string fields = "\t";
    fields += StatusWord(result.status);
    for (const std::string* text : {&result.province, &result.city, &result.type, &result.areaCode, &result.postCode}) {
        fields += '\t';
        fields += utf8.Convert(*text);
    }
    fields += '\n';
    return fields;
}

BatchAnswer MakeAnswer(LookupResult result, Utf8FromGbk& utf8)
{
    std::string fields = AnswerFields(result, utf8);
    return BatchAnswer{std::move(result), std::move(fields)};
}
