// Prints the fewest clicks that solve a level, as "column,row" pairs, for the scripts.
#include <QCoreApplication>
#include <QTextStream>

#include "data/dataconfig.h"
#include "support/solver.h"

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int level = argc == 2 ? QString(argv[1]).toInt() : 0;
    const dataConfig layouts;
    QVector<QPoint> clicks;
    if (!layouts.levelLayouts.contains(level) || !solveBoard(layouts.levelLayouts.value(level), &clicks))
        return 1;
    QTextStream out(stdout);
    for (const QPoint &click : clicks)
        out << click.x() << ',' << click.y() << ' ';
    out << '\n';
    return 0;
}
