// Everything the framework layer offers, for sources that want it all.
#pragma once

#include "WinTypes.h"
#include "Geometry.h"
#include "CString.h"
#include "Exceptions.h"
#include "Object.h"
#include "Array.h"
#include "List.h"
#include "Map.h"
#include "File.h"
#include "Archive.h"
