// Saves pictures of both pages of the editor after New and sample data:
// page1.png and page2.png in the folder given as the first argument, at the
// zoom in percent given as the optional second one.

#include "app/FormControls.h"
#include "TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QScrollArea>
#include <QTabWidget>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: %s output-folder [zoom-percent]\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    WindowFixture fixture;
    TestMainForm &form = *fixture.form;
    form.NewMenuClick();
    fillSampleData(form);
    if (argc == 3) {
        form.setZoomPercent(QString::fromLocal8Bit(argv[2]).toInt());
    }
    int failures = 0;
    const auto save = [&](QWidget *sheet, TFormPanel *panel, const char *name) {
        form.planForm().setCurrentWidget(sheet);
        QApplication::processEvents();
        const QPixmap picture = panel->grab();
        if (!picture.save(out.filePath(QString::fromLatin1(name)))) {
            std::fprintf(stderr, "cannot save %s\n", name);
            ++failures;
        }
    };
    save(form.planForm().page(1), form.planForm().panel(1), "page1.png");
    save(form.planForm().page(2), form.planForm().panel(2), "page2.png");
    return failures == 0 ? 0 : 1;
}
