// The Edit menu (cut, copy, paste, select all). It is not built yet: the
// items stay in place and do nothing when chosen.

#include "app/MainForm.h"

void TMainForm::EditMenuClick() {}

void TMainForm::CutMenuClick() {}

void TMainForm::CopyMenuClick() {}

void TMainForm::PasteMenuClick() {}

void TMainForm::AllMenuClick() {}
