#include "dialogs/GoodsForm.h"

TGoodsForm::TGoodsForm(Prompter &prompter, ListEditor &editor, QWidget *parent)
    : TListPickForm(Build{"GoodsForm", QStringLiteral("使用用具"), "GoodsBox", 145, "NFile", "NEdit",
                          QStringLiteral("使用用具ファイルが見つかりません。")},
                    prompter, editor, parent),
      GoodsBox1(Boxes[0]), GoodsBox2(Boxes[1]), GoodsBox3(Boxes[2])
{
}
