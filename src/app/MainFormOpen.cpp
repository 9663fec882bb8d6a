// The open command of the File menu. It is not built yet: the menu item
// stays in place and does nothing when chosen.

#include "MainForm.h"

void TMainForm::OpenMenuClick() {}
