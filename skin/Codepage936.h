#pragma once

// Makes the C runtime's locale ".936" for all categories unless its character
// type already uses code page 936; the locale stays set afterwards.
void EnsureLocale936();

// The C runtime's multibyte-to-wide conversion under ".936" of one byte below
// 0x80, or of a byte of 0x80 and above followed by one more byte: the result,
// or 0 for a sequence that does not convert. Results come from a table filled
// once through the C runtime itself, so converting costs no locale switch.
wchar_t Convert936(unsigned char first, unsigned char second);
