#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Tavlo助手"));
    QWidget window;
    window.setWindowTitle(QStringLiteral("Tavlo助手"));
    window.resize(830, 500);
    window.show();
    return app.exec();
}
