// The support library: invariant reports, string tables, token strings, paths, key states, stacks.
#pragma once

#include "ProgramError.h"
#include "ResourceString.h"
#include "TokString.h"
#include "Path.h"
#include "System.h"
#include "StackEx.h"
