#pragma once

// "使用用具": picks up to three pieces of equipment from Goods.txt (or types
// them) for a goods cell of the main window.

#include "dialogs/ListPickForm.h"

class TGoodsForm : public TListPickForm {
    Q_OBJECT
public:
    TGoodsForm(Prompter &prompter, ListEditor &editor, QWidget *parent = nullptr);

    QComboBox *GoodsBox1;
    QComboBox *GoodsBox2;
    QComboBox *GoodsBox3;
};
