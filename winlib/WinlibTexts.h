// The class layer's own user-visible texts, as GBK bytes (code page 936).
#pragma once

// 请填入不多于%1个的字符。
inline constexpr char kMaxCharsPrompt[] =
    "\xC7\xEB\xCC\xEE\xC8\xEB\xB2\xBB\xB6\xE0\xD3\xDA%1\xB8\xF6\xB5\xC4\xD7\xD6\xB7\xFB\xA1\xA3";
