// Arrays of variants as the language uses them: bounds from 0, fixed or dynamic, ReDim Preserve.
#pragma once

#include "Value.h"

#include <vector>

namespace tvsk::script
{

// Set on arrays declared with their size (Dim a(3)); ReDim then fails.
constexpr USHORT FixedArray = 0x0010;

// A new array with upper bounds (each at least -1); Subscript out of range or Out of memory.
Value NewArray(const std::vector<LONG>& upperBounds, bool fixed);
// Throws This array is fixed or temporarily locked when the variable holds an array that stays: a fixed
// one (Dim a(3)) or one locked by a reference to an element or by a host holding it.
void CheckReplaceable(const Value& variable);
// ReDim: a new array, keeping elements that fit when preserve (only the last bound may change).
void ReDimension(Value& variable, const std::vector<LONG>& upperBounds, bool preserve);
// The element at indices (one per dimension); Subscript out of range when outside.
Value* Element(SAFEARRAY* array, const LONG* indices, size_t count);
// Reads an element of any array type.
Value ReadElement(SAFEARRAY* array, const LONG* indices, size_t count);
// The elements in the language's order (the first index varies fastest).
std::vector<Value> Elements(SAFEARRAY* array);
// A one-dimensional array of the values.
Value MakeArray(std::vector<Value> values);
// Arrays nest at most this deep (an array in an array ...), so copying and freeing them stays
// within the stack; deeper nesting fails with Out of stack space.
constexpr int MaxArrayNesting = 1000;
// Throws Out of stack space when value is an array nested deeper than allowed within an array.
void CheckNesting(const Value& value);
LONG LowerBound(const Value& array, int dimension);
LONG UpperBound(const Value& array, int dimension);

} // namespace tvsk::script
