// The yardstick for the desk's running cost: a plain Qt window whose seven
// small labels show a dot running there and back every 100 ms, done as simply
// as Qt allows (palette colours on QLabels, one QTimer).
#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>
#include <QWidget>

#include <array>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("yardstick"));
    auto* row = new QHBoxLayout(&window);
    std::array<QLabel*, 7> lights{};
    for (QLabel*& light : lights) {
        light = new QLabel;
        light->setFixedSize(26, 14);
        light->setAutoFillBackground(true);
        row->addWidget(light);
    }
    int step = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        const int lit = step < 7 ? step : 12 - step; // 0..6 and back
        step = (step + 1) % 12;
        for (int i = 0; i < 7; ++i) {
            QPalette p = lights[i]->palette();
            p.setColor(QPalette::Window, i == lit ? Qt::red : Qt::black);
            lights[i]->setPalette(p);
        }
    });
    timer.start(100);
    window.show();
    return QApplication::exec();
}
