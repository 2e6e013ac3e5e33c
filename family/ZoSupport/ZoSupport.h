// The support library: invariant reports, string tables, token strings, paths, key states, stacks,
// pointer checks, BSTR holders, folders, sorted key lists, the trace mask, linear systems.
#pragma once

#include "ProgramError.h"
#include "ResourceString.h"
#include "TokString.h"
#include "Path.h"
#include "System.h"
#include "StackEx.h"
#include "Validity.h"
#include "Bstr.h"
#include "FileManager.h"
#include "SortMap.h"
#include "Trace.h"
#include "LinearSystem.h"
