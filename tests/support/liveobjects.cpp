#include "support/liveobjects.h"

#include <QObject>
#include <QtGlobal>
#include <atomic>

// Qt's exported hook table (used by debugging tools); slots 3 and 4 are called from the
// QObject constructor and destructor.
extern quintptr Q_CORE_EXPORT qtHookData[];

namespace {

constexpr int addObjectSlot = 3;
constexpr int removeObjectSlot = 4;
using ObjectHook = void (*)(QObject *);

std::atomic<int> live{0};
ObjectHook previousAdd = nullptr;
ObjectHook previousRemove = nullptr;
bool installed = false;

void onAdd(QObject *o)
{
    ++live;
    if (previousAdd)
        previousAdd(o);
}

void onRemove(QObject *o)
{
    --live;
    if (previousRemove)
        previousRemove(o);
}

}

namespace liveobjects {

void install()
{
    if (installed)
        return;
    installed = true;
    previousAdd = reinterpret_cast<ObjectHook>(qtHookData[addObjectSlot]);
    previousRemove = reinterpret_cast<ObjectHook>(qtHookData[removeObjectSlot]);
    qtHookData[addObjectSlot] = reinterpret_cast<quintptr>(&onAdd);
    qtHookData[removeObjectSlot] = reinterpret_cast<quintptr>(&onRemove);
}

int count()
{
    return live;
}

}
