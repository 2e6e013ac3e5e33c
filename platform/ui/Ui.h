// Everything the window layer offers.
#pragma once

#include "App.h"
#include "CmdUI.h"
#include "Controls.h"
#include "DataSource.h"
#include "Dc.h"
#include "Dialog.h"
#include "DragDrop.h"
#include "Gdi.h"
#include "HeaderCtrl.h"
#include "MessageBox.h"
#include "MultiLineEdit.h"
#include "Print.h"
#include "Resources.h"
#include "ToolBar.h"
#include "UiDefs.h"
#include "Wnd.h"
