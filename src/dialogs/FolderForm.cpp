#include "dialogs/FolderForm.h"

#include "dialogs/Prompter.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

TFolderForm::TFolderForm(Prompter &prompter, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_prompter(prompter)
{
    setObjectName(QStringLiteral("FolderForm"));
    setWindowTitle(QStringLiteral("計画書保存フォルダー"));
    resize(360, 440);

    // Folders only. The tree reads each folder when it is first opened and
    // does not follow later changes on disk, except for folders made here.
    m_model = new QFileSystemModel(this);
    m_model->setOption(QFileSystemModel::DontWatchForChanges);
    m_model->setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot);
    m_model->setReadOnly(false);
    m_model->setRootPath(QDir::rootPath());

    ShellTreeView1 = new QTreeView(this);
    ShellTreeView1->setObjectName(QStringLiteral("ShellTreeView1"));
    ShellTreeView1->setModel(m_model);
    for (int column = 1; column < m_model->columnCount(); ++column) {
        ShellTreeView1->hideColumn(column);
    }
    ShellTreeView1->header()->hide();
    ShellTreeView1->setIndentation(20);
    ShellTreeView1->setRootIsDecorated(false);
    ShellTreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ShellTreeView1->setSelectionMode(QAbstractItemView::SingleSelection);

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setReadOnly(true);
    Edit1->setFrame(false);
    QPalette palette = Edit1->palette();
    palette.setColor(QPalette::Base, QColor(0, 255, 255));
    Edit1->setPalette(palette);

    const auto makeButton = [this](const QString &name, const QString &caption) {
        auto *button = new QPushButton(caption, this);
        button->setObjectName(name);
        button->setAutoDefault(false);
        return button;
    };
    NewFolder = makeButton(QStringLiteral("NewFolder"), QStringLiteral("新しいフォルダー"));
    Button1 = makeButton(QStringLiteral("Button1"), QStringLiteral("設定"));
    Button2 = makeButton(QStringLiteral("Button2"), QStringLiteral("キャンセル"));
    // No default button: Enter ends renaming a new folder without closing.

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(ShellTreeView1, 1);
    layout->addWidget(Edit1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(NewFolder);
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    layout->addLayout(buttons);

    // Clicks of either mouse button and keyboard moves select a folder. The
    // view's own choice of a current item on getting the focus selects
    // nothing and leaves the field alone.
    connect(ShellTreeView1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TFolderForm::ShellTreeView1Click);
    connect(Button1, &QPushButton::clicked, this, [this] { done(ResultOk); });
    connect(Button2, &QPushButton::clicked, this, [this] { done(ResultCancel); });
    connect(NewFolder, &QPushButton::clicked, this, &TFolderForm::NewFolderClick);
    connect(m_model, &QFileSystemModel::fileRenamed, this, &TFolderForm::ShellTreeView1Click);
    // Folders are read in the background: the chosen folder is brought into
    // view again as the folders above it fill in, until its own parent has.
    connect(m_model, &QFileSystemModel::directoryLoaded, this, [this](const QString &loaded) {
        const QModelIndexList selected = ShellTreeView1->selectionModel()->selectedRows();
        if (m_scrollPending.isEmpty() || selected.isEmpty()) {
            return;
        }
        ShellTreeView1->scrollTo(selected.first(), QAbstractItemView::PositionAtCenter);
        if (QDir(loaded) == QDir(m_scrollPending)) {
            m_scrollPending.clear();
        }
    });
}

QString TFolderForm::pathOf(const QModelIndex &index) const
{
    return QDir::toNativeSeparators(m_model->filePath(index));
}

QModelIndex TFolderForm::indexOf(const QString &path) const
{
    return m_model->index(QDir::fromNativeSeparators(path));
}

void TFolderForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TFolderForm::FormShow()
{
    // The home folder is opened out, so that the user's own folders are a
    // click away wherever the save folder lies.
    const QString home = QDir::homePath();
    for (QString path = home; !path.isEmpty();) {
        ShellTreeView1->expand(m_model->index(path));
        const QString parent = QFileInfo(path).path();
        path = parent == path ? QString() : parent;
    }

    const QString folder = QDir::fromNativeSeparators(FolderPath);
    const QModelIndex index = QDir::isAbsolutePath(folder) && QFileInfo(folder).isDir() ? indexOf(FolderPath)
                                                                                        : QModelIndex();
    if (!index.isValid()) {
        m_prompter.error(this, QStringLiteral("パス設定エラー : \"") + FolderPath + QLatin1Char('"'));
        return;
    }
    ShellTreeView1->setCurrentIndex(index);
    ShellTreeView1->scrollTo(index, QAbstractItemView::PositionAtCenter);
    m_scrollPending = QFileInfo(folder).path();
    Edit1->setText(FolderPath);
}

void TFolderForm::ShellTreeView1Click()
{
    if (ShellTreeView1->hasFocus()) {
        m_scrollPending.clear(); // the user is moving about the tree
    }
    const QModelIndexList selected = ShellTreeView1->selectionModel()->selectedRows();
    if (!selected.isEmpty()) {
        Edit1->setText(pathOf(selected.first()));
    }
}

void TFolderForm::NewFolderClick()
{
    const QModelIndexList selected = ShellTreeView1->selectionModel()->selectedRows();
    const QModelIndex parent = selected.isEmpty() ? QModelIndex() : selected.first();
    if (!parent.isValid()) {
        m_prompter.information(this, QStringLiteral("新しいフォルダーを作るフォルダーを選んでください。"));
        return;
    }
    const QDir folder(m_model->filePath(parent));
    const QString base = QStringLiteral("新しいフォルダー");
    QString name = base;
    for (int n = 2; folder.exists(name); ++n) {
        name = base + QStringLiteral(" (%1)").arg(n);
    }
    const QModelIndex made = m_model->mkdir(parent, name);
    if (!made.isValid()) {
        m_prompter.error(this, QStringLiteral("フォルダーを作成できません。\n") + pathOf(parent));
        return;
    }
    ShellTreeView1->expand(parent);
    ShellTreeView1->setCurrentIndex(made);
    ShellTreeView1->scrollTo(made);
    // The new folder can be renamed in place at once.
    ShellTreeView1->edit(made);
}

void TFolderForm::reject()
{
    done(ResultCancel);
}

void TFolderForm::done(int result)
{
    FolderPath = Edit1->text();
    QDialog::done(result);
}
