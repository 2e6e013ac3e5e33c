// The search rule of find, find next and replace over a text buffer.
#pragma once

#include "CrystalTextBuffer.h"

constexpr DWORD FIND_MATCH_CASE = 0x0001;
constexpr DWORD FIND_WHOLE_WORD = 0x0002;
constexpr DWORD FIND_DIRECTION_UP = 0x0010;

// Searches what from start within [blockBegin, blockEnd], line by line; upwards the match ends at or
// before start. With wrap the search continues once from the other end of the block.
bool FindTextInBlock(const CCrystalTextBuffer& buffer, std::string_view what, CPoint start, CPoint blockBegin,
                     CPoint blockEnd, DWORD flags, bool wrap, CPoint& found);
