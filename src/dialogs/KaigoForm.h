#pragma once

// "介護内容": picks up to three kinds of help from Kaigo.txt (or types them)
// for a care-service cell of the main window.

#include "dialogs/ListPickForm.h"

class TKaigoForm : public TListPickForm {
    Q_OBJECT
public:
    TKaigoForm(Prompter &prompter, ListEditor &editor, QWidget *parent = nullptr);

    QComboBox *KaigoBox1;
    QComboBox *KaigoBox2;
    QComboBox *KaigoBox3;
};
