#pragma once

// Level marks of the assessment tables. The record and the plan file keep a
// mark cell's marks as the single-byte letters "A", "B", "C" (each present or
// absent, in this order); the screen shows them as the full-width letters
// "Ａ", "Ｂ", "Ｃ". Both texts are code-page-932 bytes. Each position is only
// tested for the letters that may follow the earlier ones, so a letter out of
// order is dropped ("ＣＡ" gives "C").

#include <string>
#include <string_view>

// Full-width mark -> stored letters: bytes 1-2 may be Ａ, Ｂ or Ｃ, bytes 3-4
// Ｂ or Ｃ, bytes 5-6 Ｃ; anything else adds nothing (so "　" gives "").
std::string MarkToHalfWidth(std::string_view mark);

// Stored letters -> full-width mark: character 1 may be A, B or C,
// character 2 B or C, character 3 C.
std::string MarkToFullWidth(std::string_view letters);
