#include "support/liveobjects.h"

#include <QtGlobal>
#include <mutex>
#include <thread>
#include <unordered_set>

// Qt's exported hook table (used by debugging tools); slots 3 and 4 are called from the
// QObject constructor and destructor.
extern quintptr Q_CORE_EXPORT qtHookData[];

namespace {

constexpr int addObjectSlot = 3;
constexpr int removeObjectSlot = 4;
using ObjectHook = void (*)(QObject *);

std::mutex mutex;
std::unordered_set<QObject *> objects;
std::thread::id mainThread;
ObjectHook previousAdd = nullptr;
ObjectHook previousRemove = nullptr;
bool installed = false;

// Sound backends make objects on their own threads; those are not the tests' business.
void onAdd(QObject *o)
{
    if (std::this_thread::get_id() == mainThread) {
        std::lock_guard<std::mutex> lock(mutex);
        objects.insert(o);
    }
    if (previousAdd)
        previousAdd(o);
}

// Objects may die on another thread; they must leave the set all the same.
void onRemove(QObject *o)
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        objects.erase(o);
    }
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
    mainThread = std::this_thread::get_id();
    previousAdd = reinterpret_cast<ObjectHook>(qtHookData[addObjectSlot]);
    previousRemove = reinterpret_cast<ObjectHook>(qtHookData[removeObjectSlot]);
    qtHookData[addObjectSlot] = reinterpret_cast<quintptr>(&onAdd);
    qtHookData[removeObjectSlot] = reinterpret_cast<quintptr>(&onRemove);
}

int count()
{
    std::lock_guard<std::mutex> lock(mutex);
    return int(objects.size());
}

int countIf(const std::function<bool(QObject *)> &test)
{
    std::lock_guard<std::mutex> lock(mutex);
    int n = 0;
    for (QObject *o : objects)
        n += test(o) ? 1 : 0;
    return n;
}

}
