// Tool tips of a toolbar's buttons: the text of the string whose id is the button's command,
// from the host first, cut to 80 characters.
#pragma once

class CPluginIntf;
class CToolBar;

void SetToolBarTips(CToolBar& toolBar, CPluginIntf* host);
