// The whole component model in one include.
#pragma once

#include "Bstr.h"
#include "ComBase.h"
#include "ComModule.h"
#include "ComObject.h"
#include "ComRuntime.h"
#include "ConnectionAdvise.h"
#include "ConnectionPoint.h"
#include "Dispatch.h"
#include "DispatchObject.h"
#include "DispatchTable.h"
#include "ErrorInfo.h"
#include "Guid.h"
#include "SafeArray.h"
#include "TypeDescription.h"
#include "TypeInfo.h"
#include "Variant.h"
