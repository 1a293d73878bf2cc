// CString: the narrow string (system code page, GBK) that window members and texts are held in.
#pragma once

#include <windows.h>

#include <string>

// Bytes, never characters: lengths count bytes and no text is ever converted between code pages.
class CString {
public:
    CString() = default;
    CString(const char* text);  // NOLINT: implicit, as texts are assigned from literals; null gives ""
    CString(std::string text);  // NOLINT: implicit, for the lookup's std::string results

    // Implicit, so a CString goes wherever the Win32 API wants an LPCSTR.
    operator LPCSTR() const { return m_text.c_str(); }
    const std::string& str() const { return m_text; }

    int GetLength() const { return static_cast<int>(m_text.size()); }
    BOOL IsEmpty() const { return m_text.empty(); }

    // Loads string resource nID from the application's module. A missing or empty string leaves
    // this empty and returns FALSE.
    BOOL LoadString(UINT nID);

private:
    std::string m_text;
};

// Spelled out because the implicit LPCSTR conversion would otherwise compare pointers.
bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, const char* b);
bool operator==(const char* a, const CString& b);
bool operator!=(const CString& a, const CString& b);
bool operator!=(const CString& a, const char* b);
bool operator!=(const char* a, const CString& b);

// The message text with every "%1" replaced by arg. Plain byte search is safe in GBK: '%' and
// '1' lie below 0x40, the lowest trail byte, so they are never half of a double-byte character.
CString FormatWithArg(const char* format, const char* arg);
