// CString: loading from the string table, comparison and %1 formatting.
#include "CString.h"

#include "CWinApp.h"

#include <cstring>

CString::CString(const char* text) : m_text(text ? text : "") {}

CString::CString(std::string text) : m_text(std::move(text)) {}

BOOL CString::LoadString(UINT nID)
{
    // LoadStringA cannot report the length it needs; grow until the text fits with room to
    // spare (a double-byte character that does not fit is dropped whole, so one byte may stay
    // unused even when the text was cut).
    std::string buffer(256, '\0');
    for (;;) {
        const int length = ::LoadStringA(AfxGetResourceHandle(), nID, buffer.data(),
                                         static_cast<int>(buffer.size()));
        if (length <= 0) {
            m_text.clear();
            return FALSE;
        }
        if (length < static_cast<int>(buffer.size()) - 2) {
            buffer.resize(static_cast<size_t>(length));
            m_text = std::move(buffer);
            return TRUE;
        }
        buffer.assign(buffer.size() * 2, '\0');
    }
}

bool operator==(const CString& a, const CString& b) { return a.str() == b.str(); }
bool operator==(const CString& a, const char* b) { return a.str() == (b ? b : ""); }
bool operator==(const char* a, const CString& b) { return b == a; }
bool operator!=(const CString& a, const CString& b) { return !(a == b); }
bool operator!=(const CString& a, const char* b) { return !(a == b); }
bool operator!=(const char* a, const CString& b) { return !(b == a); }

CString FormatWithArg(const char* format, const char* arg)
{
    std::string text = format ? format : "";
    const std::string value = arg ? arg : "";
    for (size_t at = text.find("%1"); at != std::string::npos; at = text.find("%1", at + value.size()))
        text.replace(at, 2, value);
    return CString(std::move(text));
}
