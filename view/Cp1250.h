#pragma once
// Letter/digit classification of Windows-1250 bytes, for builds without the
// platform's IsCharAlphaNumericA.

// True when the byte, read as a Windows-1250 character, is a letter or a
// decimal digit: the answer IsCharAlphaNumericA gives under ANSI code page 1250.
bool IsCp1250AlphaNumeric(unsigned char byte);
