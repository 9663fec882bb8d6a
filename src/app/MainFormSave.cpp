// The two save commands of the File menu. They are not built yet: the menu
// items stay in place and do nothing when chosen.

#include "MainForm.h"

void TMainForm::NewSaveMenuClick() {}

void TMainForm::OldSaveMenuClick() {}
