#include "dialogs/KaigoForm.h"

TKaigoForm::TKaigoForm(Prompter &prompter, ListEditor &editor, QWidget *parent)
    : TListPickForm(Build{"KaigoForm", QStringLiteral("介護内容"), "KaigoBox", 209, "N1", "N2",
                          QStringLiteral("介護ファイルが見つかりません。")},
                    prompter, editor, parent),
      KaigoBox1(Boxes[0]), KaigoBox2(Boxes[1]), KaigoBox3(Boxes[2])
{
}
