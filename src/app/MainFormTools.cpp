// Print, the save-folder setting, the about box and help. They are not
// built yet: the menu items stay in place and do nothing when chosen.

#include "app/MainForm.h"

void TMainForm::N3Click() {}

void TMainForm::SettingMenuClick() {}

void TMainForm::NInfoMenuClick() {}

void TMainForm::HelpMenuClick() {}
