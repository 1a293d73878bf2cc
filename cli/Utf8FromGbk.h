// Conversion of the data file's GBK texts to UTF-8 for the terminal.
#pragma once

#include <iconv.h>

#include <string>
#include <string_view>
#include <unordered_map>

class Utf8FromGbk {
public:
    Utf8FromGbk();
    Utf8FromGbk(const Utf8FromGbk&) = delete;
    Utf8FromGbk& operator=(const Utf8FromGbk&) = delete;
    ~Utf8FromGbk();

    // A byte that starts no valid GBK sequence becomes U+FFFD; control characters become
    // spaces so that a value can never break the tab-separated line it is printed in.
    const std::string& Convert(std::string_view gbk);

private:
    iconv_t m_iconv;
    // A data file holds a few hundred distinct names; converting each once keeps batches fast.
    std::unordered_map<std::string, std::string> m_cache;
};
