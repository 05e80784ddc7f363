// The smallest Qt tray program, for comparing Dropwell's memory with the
// floor Qt itself sets: tests/support/run-in-session bench/measure_memory.sh.
#include <QApplication>
#include <QPixmap>
#include <QSystemTrayIcon>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QPixmap pixmap(22, 22);
    pixmap.fill(Qt::darkGray);
    QSystemTrayIcon tray {QIcon(pixmap)};
    tray.show();
    return QApplication::exec();
}
