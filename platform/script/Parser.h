// Recursive-descent parser: tokens to a Unit of global code, procedures and classes.
#pragma once

#include "Ast.h"

namespace tvsk::script
{

// Parses a whole script text; syntax errors are thrown as compilation errors at their position.
// With expressionOnly the text must be one expression (Eval), returned as the unit's only statement.
std::unique_ptr<Unit> Parse(std::u16string_view text, int firstLine = 0);
ExprPtr ParseExpression(std::u16string_view text, Unit& unit, Scope* scope);

} // namespace tvsk::script
