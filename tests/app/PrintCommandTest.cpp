// "印刷" and "印刷プレビュー" on the real window: a saved plan is read back and
// shown in the print preview; any other PDF goes to the desktop's viewer,
// with the association error when that fails; the preview of the editor's
// plan checks the form as saving does and saves nothing. One test opens the
// real preview dialog and finds both pages in it.

#include "app/FormControls.h"
#include "app/GuiText.h"
#include "app/PlanFiles.h"
#include "app/PrintPreviewer.h"
#include "plan/Common.h"
#include "plan/Cp932.h"
#include "pdfwriter/PdfDoc.h"
#include "planio/PlanSave.h"
#include "settings/Registory.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QTest>

#include <cmath>

namespace {

TPRACTDATA savedPlan()
{
    TPRACTDATA plan;
    ResetPlan(plan, testNow());
    plan.Name = cp932::fromUtf8("山田 太郎");
    plan.Kenkou = cp932::fromUtf8("脳梗塞\r\n右片麻痺");
    return plan;
}

// A plan file in the folder "plans" of the fixture.
QString writePlanFile(WindowFixture &f)
{
    QDir(f.dir.path()).mkpath(QStringLiteral("plans"));
    const QString path = f.dir.filePath(QStringLiteral("plans/plan.pdf"));
    SavePlanPdf(planPath(path), savedPlan(), PlanCreatorText(testNow()), testNow());
    return path;
}

// A PDF from another program: a page, no plan markers.
QString writeForeignPdf(WindowFixture &f)
{
    TPdfDoc doc;
    doc.NewDoc();
    doc.AddPage();
    const std::string bytes = doc.SaveToString();
    const QString path = f.dir.filePath(QStringLiteral("other/letter.pdf"));
    QDir(f.dir.path()).mkpath(QStringLiteral("other"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        qFatal("cannot write %s", qPrintable(path));
    }
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return path;
}

} // namespace

class PrintCommandTest : public QObject {
    Q_OBJECT
private slots:
    void aSavedPlanIsShownInThePreview();
    void anotherPdfGoesToTheViewerOrReportsTheAssociation();
    void thePreviewOfTheEditorChecksTheFormAndSavesNothing();
    void thePreviewDialogShowsBothPages();
};

void PrintCommandTest::aSavedPlanIsShownInThePreview()
{
    WindowFixture f;
    const QString path = writePlanFile(f);
    f.form->Registory->OpenFolder = f.dir.path();
    f.chooser->answer.clear();
    f.form->findChild<QAction *>(QStringLiteral("N3"))->trigger(); // cancelled: nothing happens
    QCOMPARE(f.chooser->requested, QStringList{f.dir.path() + QDir::separator() + QStringLiteral("*.pdf")});
    QCOMPARE(f.form->Registory->OpenFolder, f.dir.path());

    f.chooser->answer = path;
    f.form->findChild<QAction *>(QStringLiteral("N3"))->trigger();
    QCOMPARE(f.form->Registory->OpenFolder, QDir::toNativeSeparators(f.dir.filePath(QStringLiteral("plans"))));
    QCOMPARE(f.previewer->previewed.size(), std::size_t{1});
    QCOMPARE(f.previewer->previewed[0].size(), std::size_t{1});
    const TPRACTDATA &shown = f.previewer->previewed[0][0];
    QCOMPARE(shown.Name, savedPlan().Name);
    QCOMPARE(shown.Kenkou, savedPlan().Kenkou);
    QCOMPARE(shown.PlanDate, std::floor(savedPlan().PlanDate)); // the file holds the day
    QVERIFY2(f.launcher->opened.isEmpty(), "a plan is not handed to the viewer");
    QCOMPARE(f.prompter->shown.size(), 0);

    // A file whose text no save would write (a control character) is read
    // back as opening reads it: it is shown, after the warning.
    TPRACTDATA damaged = savedPlan();
    damaged.Kenkou = "a\x03" "b";
    SavePlanPdf(planPath(path), damaged, PlanCreatorText(testNow()), testNow());
    f.form->findChild<QAction *>(QStringLiteral("N3"))->trigger();
    QCOMPARE(f.prompter->shown.size(), 1);
    QCOMPARE(f.prompter->shown[0].kind, Prompter::Kind::Warning);
    QCOMPARE(f.previewer->previewed.size(), std::size_t{2});
}

void PrintCommandTest::anotherPdfGoesToTheViewerOrReportsTheAssociation()
{
    WindowFixture f;
    const QString foreign = writeForeignPdf(f);
    const QString missing = f.dir.filePath(QStringLiteral("gone/none.pdf"));
    f.chooser->answer = foreign;
    f.form->N3Click();
    QCOMPARE(f.launcher->opened, QList<QUrl>{QUrl::fromLocalFile(foreign)});
    QCOMPARE(f.prompter->shown.size(), 0);

    // The viewer fails to start (here for a file the reader cannot open):
    // the folder is the file's all the same.
    f.launcher->openSucceeds = false;
    f.chooser->answer = missing;
    f.form->N3Click();
    QCOMPARE(f.form->Registory->OpenFolder, QDir::toNativeSeparators(f.dir.filePath(QStringLiteral("gone"))));
    QCOMPARE(f.prompter->shown.size(), 1);
    QCOMPARE(f.prompter->shown[0].kind, Prompter::Kind::Error);
    QCOMPARE(f.prompter->shown[0].text, QStringLiteral("PDFの関連付けエラーです。"));
    QCOMPARE(f.prompter->shown[0].buttons, QList<Prompter::Button>{Prompter::Button::Abort});
    QVERIFY(f.previewer->previewed.empty());
}

void PrintCommandTest::thePreviewOfTheEditorChecksTheFormAndSavesNothing()
{
    WindowFixture f;
    f.form->Registory->SaveFolder = f.dir.path();
    QVERIFY2(!f.form->findChild<QAction *>(QStringLiteral("PreviewMenu"))->isEnabled(),
             "nothing to preview before New or Open");
    f.form->findChild<QAction *>(QStringLiteral("NewMenu"))->trigger();
    QVERIFY(f.form->findChild<QAction *>(QStringLiteral("PreviewMenu"))->isEnabled());
    const QStringList before = QDir(f.dir.path()).entryList(QDir::Files);

    fillSampleData(*f.form);
    f.form->planForm().control<TEdit>("NameEdit")->setText(QStringLiteral("山田 太郎"));
    f.form->planForm().control<TMemo>("KenkouMemo")->setText(QStringLiteral("脳梗塞\n右片麻痺"));
    const TDateTime kept = f.form->planForm().planDate();
    f.form->findChild<QAction *>(QStringLiteral("PreviewMenu"))->trigger();
    QCOMPARE(f.previewer->previewed.size(), std::size_t{1});
    const TPRACTDATA &shown = f.previewer->previewed[0][0];
    QCOMPARE(shown.Name, cp932::fromUtf8("山田 太郎"));
    QCOMPARE(shown.Kenkou, cp932::fromUtf8("脳梗塞\r\n右片麻痺"));
    QCOMPARE(shown.PlanDate, static_cast<double>(static_cast<long long>(testNow())));
    QVERIFY2(f.form->planForm().planDate() == kept, "the preview leaves the plan date held as it was");
    QCOMPARE(QDir(f.dir.path()).entryList(QDir::Files), before);
    QCOMPARE(f.prompter->shown.size(), 0);

    // A fault stops the preview with the message a save would show.
    f.form->planForm().control<TEdit>("NameEdit")->setText(QString(30, QChar(0x5C71)));
    f.form->findChild<QAction *>(QStringLiteral("PreviewMenu"))->trigger();
    QCOMPARE(f.previewer->previewed.size(), std::size_t{1});
    QCOMPARE(f.prompter->shown.size(), 1);
    QCOMPARE(f.prompter->shown[0].kind, Prompter::Kind::Information);

    f.form->planForm().control<TEdit>("NameEdit")->setText(QStringLiteral("山田"));
    f.form->planForm().control<TEdit>("PlanDateEdit")->setText(QStringLiteral("平成   年  月  日"));
    f.form->findChild<QAction *>(QStringLiteral("PreviewMenu"))->trigger();
    QCOMPARE(f.previewer->previewed.size(), std::size_t{1});
    QCOMPARE(f.prompter->shown.size(), 2);
    QCOMPARE(f.prompter->shown[1].text, QStringLiteral("日付エラーです。"));
}

void PrintCommandTest::thePreviewDialogShowsBothPages()
{
    WindowFixture f;
    int pages = -1;
    QString title;
    whenModalShown([&](QWidget *dialog) {
        QVERIFY2(qobject_cast<QPrintPreviewDialog *>(dialog) != nullptr, "the print preview is shown");
        title = dialog->windowTitle();
        auto *view = dialog->findChild<QPrintPreviewWidget *>();
        QVERIFY(view != nullptr);
        QTRY_VERIFY(view->pageCount() > 0);
        pages = view->pageCount();
        dialog->close();
    });
    DialogPrintPreviewer().preview(f.form.get(), {savedPlan()});
    QCOMPARE(pages, 2);
    QCOMPARE(title, QStringLiteral("印刷プレビュー"));
}

QTEST_MAIN(PrintCommandTest)
#include "PrintCommandTest.moc"
