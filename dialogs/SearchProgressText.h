// SearchProgressText: the texts of the search's progress window, in Czech: what is searched for
// and how much of the file has been searched. Window-free.
#pragma once

#include <cstdint>
#include <span>
#include <string>

// An amount of bytes as Czech text, in the largest of MB, GB and TB (of 1024) that it reaches, MB
// below that, with one decimal after a decimal comma and the thousands set apart by a no-break
// space: "0,5 MB", "1 023,9 MB", "16,0 GB", "16 384,0 TB".
std::u16string ByteAmountText(uint64_t bytes);

// "Prohledáno 1,2 GB z 16,0 GB".
std::u16string SearchedAmountText(uint64_t done, uint64_t total);

// The pattern's bytes as hex pairs set apart by blanks, "48 65 6C"; past the first `shownBytes`
// an ellipsis stands for the rest.
std::u16string PatternHexText(std::span<const uint8_t> pattern, size_t shownBytes = 16);

// The text of a text pattern as the line shows it: the first `shownCharacters` UTF-16 units,
// then an ellipsis (never half a character).
std::u16string ShortenedText(std::u16string_view text, size_t shownCharacters = 32);
