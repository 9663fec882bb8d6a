// The editor's start against a bare Qt window, each as a whole process:
// `ovilant-start-probe editor` starts as the editor does (the application,
// Qt's Japanese texts, the main window shown), `ovilant-start-probe bare`
// shows a plain main window of 500 line edits in a grid. Either ends as soon
// as its window has been painted once, so the process's CPU time is what it
// takes to show the first window. bench/compare.sh runs the two interleaved
// and prints the ratio; the probe itself measures nothing.

#include "app/MainForm.h"
#include "app/StartOptions.h"

#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QLineEdit>
#include <QMainWindow>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// Ends the event loop once a widget of the watched window has been painted
// (the window itself or, when its children cover it, one of them).
class FirstPaint : public QObject {
public:
    explicit FirstPaint(QWidget *window) : m_window(window) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            auto *widget = qobject_cast<QWidget *>(watched);
            if (widget != nullptr && widget->window() == m_window) {
                m_seen = true;
                QTimer::singleShot(0, qApp, &QCoreApplication::quit);
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget *m_window;
    bool m_seen = false;
};

std::unique_ptr<QWidget> bareWindow()
{
    auto window = std::make_unique<QMainWindow>();
    auto *central = new QWidget(window.get());
    auto *grid = new QGridLayout(central);
    for (int i = 0; i < 500; ++i) {
        grid->addWidget(new QLineEdit(central), i / 20, i % 20);
    }
    window->setCentralWidget(central);
    window->resize(791, 881);
    return window;
}

} // namespace

int main(int argc, char *argv[])
{
    const bool editor = argc == 2 && std::strcmp(argv[1], "editor") == 0;
    if (!editor && !(argc == 2 && std::strcmp(argv[1], "bare") == 0)) {
        std::fputs("usage: ovilant-start-probe editor|bare\n", stderr);
        return 2;
    }
    QApplication app(argc, argv);
    std::unique_ptr<QWidget> window;
    if (editor) {
        startup::useJapanese(app);
        window = std::make_unique<TMainForm>();
    } else {
        window = bareWindow();
    }
    FirstPaint watch(window.get());
    app.installEventFilter(&watch);
    window->show();
    return app.exec();
}
