// GBK to UTF-8 through the C library's iconv, with a replacement for bytes that are no GBK.
#include "Utf8FromGbk.h"

#include <cerrno>
#include <cstdlib>

namespace {
const char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);
}

Utf8FromGbk::Utf8FromGbk() : m_iconv(iconv_open("UTF-8", "GBK"))
{
    // glibc always carries GBK; without it nothing could be shown correctly anyway.
    if (m_iconv == kNoConverter)
        std::abort();
}

Utf8FromGbk::~Utf8FromGbk()
{
    iconv_close(m_iconv);
}

const std::string& Utf8FromGbk::Convert(std::string_view gbk)
{
    const auto cached = m_cache.find(std::string(gbk));
    if (cached != m_cache.end())
        return cached->second;

    std::string utf8;
    std::string buffer(gbk.size() * 3 + 4, '\0');
    iconv(m_iconv, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(gbk.data());  // iconv's signature; the input is not written
    std::size_t inLeft = gbk.size();
    while (inLeft > 0) {
        char* out = buffer.data();
        std::size_t outLeft = buffer.size();
        const std::size_t rc = iconv(m_iconv, &in, &inLeft, &out, &outLeft);
        utf8.append(buffer.data(), out);
        if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
            // EILSEQ or a sequence cut off at the end: replace one byte and go on after it.
            utf8 += kReplacement;
            ++in;
            --inLeft;
            iconv(m_iconv, nullptr, nullptr, nullptr, nullptr);
        }
    }
    for (char& c : utf8) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    }
    return m_cache.emplace(std::string(gbk), std::move(utf8)).first->second;
}
