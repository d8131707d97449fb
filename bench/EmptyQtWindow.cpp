// The baselines of the start-up benchmark: an empty Qt 6 window, and with
// --label the same window showing one line of text, which is what any
// window with words pays on top: the style, fontconfig and a font face.
#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

#include <cstring>

int main(int argc, char** argv)
{
    const bool label = argc > 1 && std::strcmp(argv[1], "--label") == 0;
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(label ? QStringLiteral("Qt window with one label") : QStringLiteral("empty Qt window"));
    if (label)
        (new QVBoxLayout(&window))->addWidget(new QLabel(QStringLiteral("One line of text")));
    window.resize(400, 300);
    window.show();
    return QApplication::exec();
}
