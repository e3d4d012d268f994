#ifndef LIVEOBJECTS_H
#define LIVEOBJECTS_H

#include <QObject>
#include <functional>

// Tracks every QObject made on the GUI thread until it is destroyed, through Qt's object
// hooks, so a test can count parentless objects (animations, the layout store) that no
// findChildren can reach. Install once, on the GUI thread, before the objects of interest.
namespace liveobjects {

void install();
int count();
int countIf(const std::function<bool(QObject *)> &test);

template <class T>
int count()
{
    return countIf([](QObject *o) { return qobject_cast<T *>(o) != nullptr; });
}

}

#endif
