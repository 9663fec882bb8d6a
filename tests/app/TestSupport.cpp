#include "TestSupport.h"

#include "ControlNames.h"
#include "plan/Cp932.h"
#include "app/FormControls.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QTest>
#include <QTimer>

Prompter::Button FakePrompter::ask(QWidget *parent, Kind kind, const QString &text, const QList<Button> &buttons)
{
    shown.append(Shown{kind, caption(kind), text, buttons});
    if (realBoxes) {
        return MessageBoxPrompter().ask(parent, kind, text, buttons);
    }
    if (!answers.isEmpty()) {
        return answers.takeFirst();
    }
    return buttons.isEmpty() ? Button::Ok : buttons.first();
}

Prompter::Button FakePrompter::askWithList(QWidget *parent, Kind kind, const QString &text, const QStringList &list,
                                           const QList<Button> &buttons)
{
    shown.append(Shown{kind, caption(kind), text, buttons, list});
    if (realBoxes) {
        return MessageBoxPrompter().askWithList(parent, kind, text, list, buttons);
    }
    if (!answers.isEmpty()) {
        return answers.takeFirst();
    }
    return buttons.isEmpty() ? Button::Ok : buttons.first();
}

TDateTime testNow()
{
    return encodeDateTime(2003, 4, 1, 10, 30, 0);
}

void writeCp932(const QString &path, const char *utf8)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        qFatal("cannot write %s", qPrintable(path));
    }
    const std::string bytes = cp932::fromUtf8(utf8);
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

WindowFixture::WindowFixture(const char *stuff, bool show) : clock(std::make_shared<FixedClock>(testNow()))
{
    if (stuff != nullptr) {
        writeCp932(dir.filePath(QStringLiteral("Stuff.txt")), stuff);
    }
    form = makeWindow();
    if (show) {
        form->show();
        QApplication::setActiveWindow(form.get());
        if (!QTest::qWaitForWindowExposed(form.get())) {
            qWarning("window not exposed");
        }
    }
}

WindowFixture::~WindowFixture()
{
    if (form) {
        form->Modified = false;
        form->close();
        form.reset();
    }
}

QString WindowFixture::settingsFile() const
{
    return dir.filePath(QStringLiteral("settings.ini"));
}

std::unique_ptr<TestMainForm> WindowFixture::makeWindow(std::optional<planlock::LockOwner> lockOwner)
{
    MainFormServices services;
    services.lockOwner = std::move(lockOwner);
    services.prompter = prompter;
    services.clock = clock;
    services.fileChooser = chooser;
    services.launcher = launcher;
    services.printPreviewer = previewer;
    services.settingsFile = settingsFile();
    services.programDir = dir.path();
    services.dataDir = dir.filePath(QStringLiteral("data"));
    services.cacheDir = dir.filePath(QStringLiteral("cache"));
    // Never the desktop's editor: the fake launcher records this instead.
    services.textEditor = QStringList{QStringLiteral("text-editor"), QStringLiteral("%f")};
    return std::make_unique<TestMainForm>(services);
}

TPlanForm &TestMainForm::planForm() const
{
    // Built on first use, as New and Open build it.
    return const_cast<TestMainForm *>(this)->planView();
}

TPRACTDATA viewPlan(const TestMainForm &form)
{
    const TPlanForm &view = form.planForm();
    const TPlanForm::Reading reading = view.read(view.planDate());
    if (!reading.plan) {
        QTest::qFail("the plan view's plan fails its checks", __FILE__, __LINE__);
        return {};
    }
    return *reading.plan;
}

void fillSampleData(TestMainForm &form)
{
    const auto set = [&](QWidget *control, const QString &text) {
        if (auto *memo = qobject_cast<TMemo *>(control)) {
            memo->setText(text);
        } else if (auto *edit = qobject_cast<QLineEdit *>(control)) {
            edit->setText(text);
        } else if (auto *box = qobject_cast<QComboBox *>(control)) {
            box->setEditText(text);
        }
    };
    form.planForm().control<TEdit>("NameEdit")->setText(QStringLiteral("山田 太郎"));
    form.planForm().control<QComboBox>("SexBox")->setCurrentIndex(0);
    form.planForm().control<TEdit>("BirthEdit")->setText(QStringLiteral("昭和15年 6月12日"));
    form.planForm().control<TClickLabel>("OldLabel")->setText(QStringLiteral("62"));
    form.planForm().control<QComboBox>("KaigoBox")->setCurrentIndex(2);
    set(form.planForm().control<TMemo>("KenkouMemo"), QStringLiteral("脳梗塞（左片麻痺）\n平成15年1月10日発症"));
    set(form.planForm().control<TMemo>("GapeiMemo"), QStringLiteral("高血圧症（内服にて安定）"));
    set(form.planForm().control<TMemo>("SeikatsuMemo"), QStringLiteral("入院による活動量の低下"));
    form.planForm().control<QCheckBox>("HomeBox")->setChecked(true);
    set(form.planForm().control<TEdit>("HomeWorkEdit"), QStringLiteral("食事の後片付け"));
    set(form.planForm().control<TEdit>("SocialEdit"), QStringLiteral("老人会への参加"));
    set(form.planForm().control<TEdit>("GoOutEdit"), QStringLiteral("週１回の買い物"));
    set(form.planForm().control<TEdit>("FreeTimeEdit"), QStringLiteral("園芸、テレビ観賞"));
    set(form.planForm().control<TEdit>("TaiinEdit"), QStringLiteral("通所リハビリテーション"));
    form.planForm().control<QCheckBox>("Exercise")->setChecked(true);
    set(form.planForm().control<TEdit>("ExerciseEdit"), QStringLiteral("左上下肢の筋力低下"));
    form.planForm().control<QCheckBox>("Koushuku")->setChecked(true);
    set(form.planForm().control<TEdit>("KoushukuEdit"), QStringLiteral("左肩関節"));
    set(form.planForm().control<TEdit>("HDSEdit"), QStringLiteral("26"));
    const QStringList marks{QStringLiteral("ＡＢ"), QStringLiteral("Ｃ"), QStringLiteral("ＡＢＣ")};
    int n = 0;
    for (const int row : formnames::rows()) {
        form.planForm().control<TMarkCell>(formnames::abc(row, n % 3))->setText(marks.at(n % 3));
        form.planForm().control<TMarkCell>(formnames::abc(row, (n % 3) + 1))->setText(QStringLiteral("Ｃ"));
        if (n % 4 == 0) {
            set(form.planForm().control(formnames::goods(row)), QStringLiteral("T字杖"));
            set(form.planForm().control(formnames::kaigo(row)), QStringLiteral("見守り"));
            set(form.planForm().control(formnames::time(row)), QStringLiteral("3ヶ月"));
            form.planForm()
                .control<QLabel>(formnames::special(row))
                ->setText(n % 8 == 0 ? QStringLiteral("◎") : QStringLiteral("○"));
        }
        ++n;
    }
    set(form.planForm().control<TMemo>("PTOTST0"), QStringLiteral("歩行訓練\n週３回\n階段昇降訓練"));
    set(form.planForm().control<TMemo>("Kango0"), QStringLiteral("トイレ誘導\n声かけ"));
    set(form.planForm().control<TMemo>("Jitchi0"), QStringLiteral("転倒に注意する"));
    set(form.planForm().control<TMemo>("PTOTST1"), QStringLiteral("起居動作訓練"));
    set(form.planForm().control<TMemo>("Kango1"), QStringLiteral("移乗の見守り"));
    set(form.planForm().control<TMemo>("Jitchi1"), QStringLiteral("血圧の変動に注意"));
    set(form.planForm().control<TMemo>("SelfHope"), QStringLiteral("自宅で妻と暮らしたい。"));
    set(form.planForm().control<TMemo>("FarmilyHope"), QStringLiteral("トイレは自分でできるようになってほしい。"));
    set(form.planForm().control<TMemo>("LifePoint"), QStringLiteral("庭の手入れを続ける。"));
    set(form.planForm().control<TMemo>("RihaTerget"),
        QStringLiteral("杖歩行で屋内を移動できる。\n屋外は見守りで 100m 歩ける。"));
    set(form.planForm().control<TMemo>("SelfDo"), QStringLiteral("毎日の自主トレーニング"));
    set(form.planForm().control<TMemo>("AskFarmily"), QStringLiteral("外出の付き添い"));
    set(form.planForm().control<TMemo>("DiseseCare"), QStringLiteral("血圧の管理"));
    set(form.planForm().control<TMemo>("Variation"), QStringLiteral("初回計画"));
    set(form.planForm().control<TMemo>("Remark"), QStringLiteral("特になし"));
    set(form.planForm().control(formnames::teamBox(1)), QStringLiteral("山本 一郎"));
    set(form.planForm().control(formnames::teamBox(2)), QStringLiteral("佐藤 花子"));
    set(form.planForm().control(formnames::teamBox(6)), QStringLiteral("鈴木 健太"));
}

void whenModalShown(const std::function<void(QWidget *)> &act)
{
    auto *timer = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, tries, act] {
        QWidget *dialog = QApplication::activeModalWidget();
        if (dialog == nullptr && ++*tries < 500) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        if (dialog == nullptr) {
            qWarning("no modal dialog appeared");
        }
        act(dialog);
    });
    timer->start(5);
}
