#ifndef LIVEOBJECTS_H
#define LIVEOBJECTS_H

// Counts every QObject constructed and not yet destroyed, through Qt's object hooks.
// Install once per process, before the objects of interest are made.
namespace liveobjects {

void install();
int count();

}

#endif
