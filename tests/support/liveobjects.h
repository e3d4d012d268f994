#ifndef LIVEOBJECTS_H
#define LIVEOBJECTS_H

#include <QList>
#include <QObject>

// Every QObject made on the GUI thread and not yet destroyed, through Qt's object hooks, so a
// test can reach parentless objects (animations, the layout store) that findChildren cannot.
// Install once, on the GUI thread, before the objects of interest are made.
namespace liveobjects {

void install();
QList<QObject *> all();

template <class T>
QList<T *> of()
{
    QList<T *> found;
    for (QObject *o : all())
        if (T *t = qobject_cast<T *>(o))
            found << t;
    return found;
}

template <class T>
int count() { return of<T>().size(); }

}

#endif
