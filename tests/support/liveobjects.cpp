#include "support/liveobjects.h"

#include <mutex>
#include <thread>
#include <unordered_set>

// Qt's exported hook table for debugging tools: slot 3 is called by every QObject
// constructor, slot 4 by every destructor, on whatever thread makes the object.
extern quintptr Q_CORE_EXPORT qtHookData[];

namespace {

using ObjectHook = void (*)(QObject *);
std::mutex mutex;
std::unordered_set<QObject *> objects;
std::thread::id guiThread;
ObjectHook previousAdd = nullptr;
ObjectHook previousRemove = nullptr;

// Sound back ends make objects on their own threads; those are not the tests' business.
void onAdd(QObject *o)
{
    if (std::this_thread::get_id() == guiThread) {
        std::lock_guard<std::mutex> lock(mutex);
        objects.insert(o);
    }
    if (previousAdd)
        previousAdd(o);
}

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

void liveobjects::install()
{
    if (guiThread != std::thread::id())
        return;
    guiThread = std::this_thread::get_id();
    previousAdd = reinterpret_cast<ObjectHook>(qtHookData[3]);
    previousRemove = reinterpret_cast<ObjectHook>(qtHookData[4]);
    qtHookData[3] = reinterpret_cast<quintptr>(&onAdd);
    qtHookData[4] = reinterpret_cast<quintptr>(&onRemove);
}

QList<QObject *> liveobjects::all()
{
    std::lock_guard<std::mutex> lock(mutex);
    return QList<QObject *>(objects.begin(), objects.end());
}
