#include <QApplication>

#include "scenes/zhujiemian.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Zhujiemian menu;
    menu.show();
    return app.exec();
}
