// The baseline of the start-up benchmark: an empty Qt 6 window.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("empty Qt window"));
    window.resize(400, 300);
    window.show();
    return QApplication::exec();
}
