#include "app/PrintPreviewer.h"

#include "painter/PlanPainter.h"

#include <QPrintPreviewDialog>
#include <QPrinter>

void DialogPrintPreviewer::preview(QWidget *parent, const std::vector<TPRACTDATA> &plans)
{
    QPrinter printer(QPrinter::HighResolution);
    // The layout covers the whole sheet: it is drawn from the paper's corner.
    printer.setFullPage(true);
    printer.setDocName(QStringLiteral("実施計画"));
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("印刷プレビュー"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&plans](QPrinter *target) { printPlans(*target, plans); });
    dialog.exec();
}
