// Cp1250: the letters and digits of Windows-1250 (the ANSI code page of the Wine bed, as of a
// Czech Windows), as the system's IsCharAlphaNumericA answers there: the character column's rule
// for the native tests and the fuzz targets, which have no system to ask. A Windows class test
// checks it against the system.
#pragma once

// True when the byte, read as a Windows-1250 character, is a letter or a
// decimal digit: the answer IsCharAlphaNumericA gives under ANSI code page 1250.
bool IsCp1250AlphaNumeric(unsigned char byte);
