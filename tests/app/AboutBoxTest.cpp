// "情報" → "製品情報": the about box.

#include "dialogs/InfoForm.h"
#include "TestSupport.h"

#include <QLabel>
#include <QTest>

class AboutBoxTest : public QObject {
    Q_OBJECT
private slots:
    void showsTheProductAndOpensTheMakersPage();
    void closesWithEscapeAndTheTitleBarButton();
};

void AboutBoxTest::showsTheProductAndOpensTheMakersPage()
{
    WindowFixture f;
    QStringList texts;
    bool bold = false;
    whenModalShown([&](QWidget *shown) {
        auto *info = qobject_cast<Tinfo *>(shown);
        if (info == nullptr) {
            qWarning("the about box did not appear");
            return;
        }
        QCOMPARE(info->windowTitle(), QStringLiteral("情報"));
        QVERIFY2(info->windowFlags().testFlag(Qt::WindowCloseButtonHint), "the title bar must offer closing");
        for (const QLabel *label : {info->ProductLabel, info->VersionLabel, info->ReleaseLabel, info->MakerLabel,
                                    info->Label4}) {
            texts.append(label->text());
        }
        bold = info->ProductLabel->font().bold() && info->MakerLabel->font().bold();
        QVERIFY2(info->Label4->font().underline(), "the web address is underlined like a link");
        QCOMPARE(info->Label4->cursor().shape(), Qt::PointingHandCursor);
        QTest::mouseClick(info->Label4, Qt::LeftButton);
        info->close();
    });
    f.form->findChild<QAction *>(QStringLiteral("NInfoMenu"))->trigger();
    QCOMPARE(texts, (QStringList{QStringLiteral("Ovilant"), QStringLiteral("Ｖeｒ　1.0"), QStringLiteral("2026年12月"),
                                 QStringLiteral("Quenmark"), QStringLiteral("https://quenmark.example/ovilant/")}));
    QVERIFY(bold);
    QCOMPARE(f.launcher->opened, QList<QUrl>{QUrl(QStringLiteral("https://quenmark.example/ovilant/"))});
    QCOMPARE(f.prompter->shown.size(), 0);
}

void AboutBoxTest::closesWithEscapeAndTheTitleBarButton()
{
    WindowFixture f;
    int shownTimes = 0;
    const auto closeWith = [&](bool escape) {
        whenModalShown([&, escape](QWidget *shown) {
            if (qobject_cast<Tinfo *>(shown) == nullptr) {
                qWarning("the about box did not appear");
                return;
            }
            ++shownTimes;
            if (escape) {
                QTest::keyClick(shown, Qt::Key_Escape);
            } else {
                shown->close();
            }
        });
        f.form->NInfoMenuClick();
        QVERIFY2(!f.form->findChild<Tinfo *>()->isVisible(), "the about box stayed open");
    };
    closeWith(true);
    closeWith(false);
    QCOMPARE(shownTimes, 2);
    QVERIFY(f.launcher->opened.isEmpty());
}

QTEST_MAIN(AboutBoxTest)
#include "AboutBoxTest.moc"
